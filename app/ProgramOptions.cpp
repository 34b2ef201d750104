#include "app/ProgramOptions.h"

#include "framework/AppVersion.h"

#include <cstring>

std::optional<QString> CProgramOptions::Answer(int argc, const char *const argv[])
{
    if (argc != 2)
        return std::nullopt;
    if (std::strcmp(argv[1], "--help") == 0)
        return HelpText();
    if (std::strcmp(argv[1], "--version") == 0)
        return VersionText();
    return std::nullopt;
}

QString CProgramOptions::VersionText()
{
    return QStringLiteral("marrowpad %1\n").arg(QLatin1String(kAppVersion));
}

QString CProgramOptions::HelpText()
{
    return QStringLiteral(
        "Usage: marrowpad [SCRIPT]\n"
        "       marrowpad --help | --version\n"
        "\n"
        "Marrowpad, the editor for the script files of the Marrowby folder-synchronisation engine.\n"
        "\n"
        "  SCRIPT     the script to open; the whole command line is its path, spaces and all\n"
        "             (a path wrapped in double quotation marks is taken without them).\n"
        "             A path that does not exist yet opens a new script that Save creates there.\n"
        "             Without SCRIPT the editor starts a new script.\n"
        "  --help     prints this text and exits\n"
        "  --version  prints the version and exits\n"
        "\n"
        "Both options count only as the one and only argument. In the editor F1 opens the user guide.\n"
        "Scripts are also handled without a window by mbscript (mbscript --help).\n");
}
