#include "framework/HugePages.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include <unistd.h>

namespace {

constexpr const char *kTunable = "glibc.malloc.hugetlb=1";

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

void AskForHugePages(char *argv[])
{
#if defined(__linux__) && defined(__GLIBC__)
    const char *tunables = std::getenv("GLIBC_TUNABLES");
    if (std::getenv("MARROWPAD_SMALL_PAGES") || (tunables && std::strstr(tunables, "glibc.malloc.hugetlb")))
        return;
    if (!HugePagesOnRequest())
        return;
    const std::string value = tunables && *tunables ? std::string(tunables) + ':' + kTunable : std::string(kTunable);
    if (setenv("GLIBC_TUNABLES", value.c_str(), 1) != 0)
        return;
    execv("/proc/self/exe", argv);
    // Not started again: carry on as we are, without the tunable.
    if (tunables)
        setenv("GLIBC_TUNABLES", tunables, 1);
    else
        unsetenv("GLIBC_TUNABLES");
#else
    (void)argv;
#endif
}
