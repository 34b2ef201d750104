// The reference reader for mbscript dump's speed: the plain INI parser of the
// system's libinih reads the whole script and copies every section name, key
// and value into memory, then prints how many values it kept.

#include <ini.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Entry
{
    std::string section;
    std::string key;
    std::string value;
};

int Keep(void *user, const char *section, const char *key, const char *value)
{
    static_cast<std::vector<Entry> *>(user)->push_back({section, key ? key : "", value ? value : ""});
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: inih_reader FILE\n");
        return 2;
    }
    std::vector<Entry> entries;
    if (ini_parse(argv[1], Keep, &entries) < 0) {
        std::fprintf(stderr, "inih_reader: cannot read %s\n", argv[1]);
        return 1;
    }
    std::printf("%zu values\n", entries.size());
    return 0;
}
