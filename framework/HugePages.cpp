#include "framework/HugePages.h"

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
    struct stat info{};
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

} // namespace

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
            setenv("GLIBC_TUNABLES", before.c_str() + 1, 1);  // after the leading '='
        unsetenv(kRestartMark);
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
