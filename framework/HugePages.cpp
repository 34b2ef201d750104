#include "framework/HugePages.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char *kTunable = "glibc.malloc.hugetlb=1";
// Set for the restarted process: '=' and the tunables it was given, or empty
// when it was given none.
constexpr const char *kRestartMark = "MARROWPAD_HUGE_PAGES_RESTART";
// Below this a script is read, built and shown in a blink, and starting
// again (about 30 ms of CPU) would cost more than the huge pages save.
constexpr long long kLargeScript = 4LL * 1024 * 1024;

long long FileSize(const std::string &path)
{
    struct stat info
    {
    };
    return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) ? (long long)info.st_size : 0;
}

// Whether the command line names a large file: any argument alone, or all of
// them joined by spaces (the editor takes an unquoted path with spaces so).
bool NamesLargeFile(char *argv[])
{
    std::string joined;
    for (int i = 1; argv[i]; ++i) {
        if (FileSize(argv[i]) >= kLargeScript)
            return true;
        if (i > 1)
            joined += ' ';
        joined += argv[i];
    }
    return FileSize(joined) >= kLargeScript;
}

// Whether the kernel gives huge pages to memory that asks for them:
// "[madvise]" or "[always]" rather than "[never]".
bool HugePagesOnRequest()
{
    std::ifstream setting("/sys/kernel/mm/transparent_hugepage/enabled");
    std::string line;
    return std::getline(setting, line)
           && (line.find("[madvise]") != std::string::npos || line.find("[always]") != std::string::npos);
}

// The heap begins wherever the kernel put the program's break, rarely on a
// huge-page boundary, and the allocator asks for huge pages only for what it
// adds in steps of a huge page or more: everything it hands out below the
// first boundary past the break would come in 4 KiB pages, a fault each. Once,
// as the process starts with huge pages, blocks just small enough to come
// from the heap itself fill it up to that boundary; they are never used (only
// their headers are ever written) and never freed.
void FillHeapToHugePage()
{
    constexpr std::uintptr_t kHugePage = 2u << 20;
    // Under the allocator's threshold for blocks that get a mapping of their own.
    constexpr std::size_t kBlock = 64 * 1024;
    static void *filler[kHugePage / kBlock + 1];
    const auto brk = reinterpret_cast<std::uintptr_t>(sbrk(0));
    if (brk == std::uintptr_t(-1))
        return;
    const std::uintptr_t boundary = (brk + kHugePage - 1) & ~(kHugePage - 1);
    for (void *&block : filler) {
        block = std::malloc(kBlock);
        // Done at the boundary, or when the blocks do not come from the break
        // (an allocator of another kind).
        const auto at = reinterpret_cast<std::uintptr_t>(block);
        if (!block || at + kBlock >= boundary || at + kHugePage < brk)
            break;
    }
}

} // namespace

long long HugePageRoom(long long bytes)
{
    constexpr long long kHugePage = 2LL * 1024 * 1024;
    // What the heap adds in front of a block and to its size, with room to spare.
    constexpr long long kHeapOverhead = 64;
    if (bytes < kHugePage / 2)
        return bytes;
    const long long pages = (bytes + kHeapOverhead + kHugePage - 1) / kHugePage;
    return pages * kHugePage - kHeapOverhead;
}

void AskForHugePages(char *argv[], HugePagesFor when)
{
#if defined(__linux__) && defined(__GLIBC__)
    // Started again: the allocator has read its tunables, and the programs this
    // one starts (the help viewer) get the environment it was given.
    if (const char *given = std::getenv(kRestartMark)) {
        const std::string before = given;
        if (before.empty())
            unsetenv("GLIBC_TUNABLES");
        else
            setenv("GLIBC_TUNABLES", before.c_str() + 1, 1); // after the leading '='
        unsetenv(kRestartMark);
        FillHeapToHugePage();
        return;
    }
    const char *found = std::getenv("GLIBC_TUNABLES");
    const bool hadTunables = found != nullptr;
    const std::string tunables = hadTunables ? found : "";
    if (std::getenv("MARROWPAD_SMALL_PAGES") || tunables.find("glibc.malloc.hugetlb") != std::string::npos)
        return;
    if ((when == HugePagesFor::LargeScripts && !NamesLargeFile(argv)) || !HugePagesOnRequest())
        return;
    const std::string value = tunables.empty() ? std::string(kTunable) : tunables + ':' + kTunable;
    const std::string mark = hadTunables ? '=' + tunables : std::string();
    if (setenv(kRestartMark, mark.c_str(), 1) != 0 || setenv("GLIBC_TUNABLES", value.c_str(), 1) != 0) {
        unsetenv(kRestartMark);
        return;
    }
    execv("/proc/self/exe", argv);
    // Not started again: carry on as we are, with the environment as it was.
    unsetenv(kRestartMark);
    if (hadTunables)
        setenv("GLIBC_TUNABLES", tunables.c_str(), 1);
    else
        unsetenv("GLIBC_TUNABLES");
#else
    (void)argv;
    (void)when;
#endif
}
