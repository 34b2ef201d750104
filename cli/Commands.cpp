#include "cli/Commands.h"

#include "cli/CheckCommand.h"
#include "cli/DumpCommand.h"
#include "cli/GetCommand.h"
#include "cli/ResaveCommand.h"
#include "cli/SetCommand.h"
#include "framework/AppVersion.h"
#include "script/SettingFields.h"
#include "script/check/CheckRules.h"

#include <array>
#include <cstring>

namespace {

const std::array<Command, 5> &CommandTable()
{
    static const std::array<Command, 5> commands{{
        {"dump", "[--csv] [--locale NAME] FILE",
         "Loads FILE exactly as the editor's loader does and prints its records as JSON on stdout:\n"
         "  {\"encoding\": \"ansi\"|\"utf-16le\"|\"utf-8\", \"defaultAtLines\": [...], \"default\": {SETTINGS},\n"
         "   \"actions\": [{\"name\": \"Action1\", \"atLines\": [...], \"settings\": {SETTINGS}}, ...]}\n"
         "  SETTINGS maps each of the KEY_COUNT keys the loader reads to its value: texts as strings,\n"
         "  flags, codes, masks, sizes and dates (as FILETIME) as exact integers.\n"
         "  An empty file is an empty script. FILE may be a FIFO or \"-\" (standard input).\n"
         "  --locale NAME  reads dates in the short date format of locale NAME (en_GB, de_DE, ...),\n"
         "                 as on the engine's machine; without it, in this machine's locale.\n"
         "  --csv          prints the editor's overview instead, as CSV (RFC 4180, UTF-8, CR LF): a header\n"
         "                 \"Action\" and the keys the editor shows, then one record per action in run\n"
         "                 order with the values in effect as the editor shows them.",
         RunDump},
        {"resave", "[--complete] [--normalize] IN OUT",
         "Loads IN into an options tree exactly as the editor's Load Script does (no window is shown)\n"
         "and writes it to OUT exactly as the editor's Save would, without edits: byte for byte, every\n"
         "line in its place with its line end, and the encoding of IN is kept. The old OUT is replaced only when all "
         "of it was written;\n"
         "an OUT that is not a regular file (a FIFO, a device) is written directly, never replaced.\n"
         "IN \"-\" reads standard input, OUT \"-\" writes standard output.\n"
         "  --complete   first gives every section all settings, as Show All does: lines are only added.\n"
         "  --normalize  writes each section's settings in the editor's order instead (unknown keys and\n"
         "               comments after them, one empty line after each section, CR LF line ends),\n"
         "               the sections the editor does not load at the end.\n"
         "  --           ends the options, so IN or OUT may start with \"-\".",
         RunResave},
        {"check", "[--json] [--strict] [--locale NAME] [--ignore RULE[,RULE...]] [--max-problems N] FILE...",
         "Loads each FILE exactly as the editor does and reports what would make a backup go wrong,\n"
         "as it finds it, one line per problem: FILE:LINE: warning|error: message [rule-id],\n"
         "then one summary line per file. FILE \"-\" reads standard input. The rules are listed by\n"
         "mbscript check --help.\n"
         "  --json          prints a list of {file, line, section, key, severity, rule, message}\n"
         "                  instead, and {file, omitted} for a file with problems not shown.\n"
         "  --strict        counts warnings as errors.\n"
         "  --locale NAME   reads dates in the short date format of locale NAME (en_GB, de_DE, ...),\n"
         "                  as on the engine's machine; without it, in this machine's locale.\n"
         "  --ignore RULE[,RULE...]  reports nothing of those rules. In a script, a line\n"
         "                  \"; mbscript: ignore RULE...\" quiets them in its section, or in the whole\n"
         "                  script before the first section header.\n"
         "  --max-problems N  shows at most N problems per file (default 1000; 0: all); the\n"
         "                  summary line says how many more there were.\n"
         "  Exit status: 0 when no file has an error, 1 when one has (or a warning, with --strict),\n"
         "  2 for a usage error or a file that cannot be read, 3 when the report cannot be written.",
         RunCheck},
        {"get", "[--raw] [--locale NAME] FILE SECTION [KEY]",
         "Prints the value of KEY in effect in SECTION (\"Default\" or an action) as the engine reads it:\n"
         "the section's own, else the one \"Default\" gives, else the built-in one; without KEY, every\n"
         "setting in effect as KEY=VALUE lines. Flags, codes, masks and sizes are numbers, texts and dates\n"
         "as written. Keys and section names are compared ignoring case.\n"
         "  --raw          prints the text after '=' as the section writes it, or, without KEY, every\n"
         "                 line of the section; exit status 1 when the section does not hold KEY.\n"
         "  --locale NAME  reads dates in the short date format of locale NAME (an invalid date has no effect).\n"
         "  Exit status: 0 when printed, 1 when the section or key is not there, 2 for a usage error or a\n"
         "  file that cannot be read.",
         RunGet},
        {"set", "FILE [--dry-run | --diff] [--force] [--locale NAME] SECTION.KEY=VALUE... [--unset SECTION.KEY...]",
         "Sets settings of FILE as the editor would (loaded, edited in an options tree, saved), so only\n"
         "their lines change: a changed value rewrites its own line, a new one goes after the nearest\n"
         "setting before it, --unset removes the line with its dead duplicates; every other byte stays.\n"
         "SECTION is a name or a pattern (Default, Action3, Action*; '*' any text, '?' one character)\n"
         "matching the sections the engine reads, KEY a setting's key, both compared ignoring case.\n"
         "Each VALUE is checked against its setting before anything is written: a flag is 0 or 1, a\n"
         "number within its range, Operation and Sort Compare a code or the list's text (\"Produce\n"
         "Compare Report\"), a date in the short date format or \"%%today\"; nothing is\n"
         "written when one is refused, and the message names it. The save is the editor's: atomic,\n"
         "in the file's encoding, keeping its owner, permissions and links.\n"
         "  --dry-run      checks the assignments and writes nothing.\n"
         "  --diff         prints a unified diff of the file instead of writing it.\n"
         "  --force        also sets a key the editor does not know, as written.\n"
         "  --locale NAME  reads dates in the short date format of locale NAME.\n"
         "  --unset SECTION.KEY  removes the setting (the section then inherits it).\n"
         "  Exit status: 0 when written (or checked), 1 when an assignment is refused, 2 for a usage error\n"
         "  or a file that cannot be read, 3 when the file cannot be written.",
         RunSet},
    }};
    return commands;
}

// A command's description as help prints it: indented, with the count of keys the table holds.
QString Indented(const char *text)
{
    return QString::fromUtf8(text)
        .replace(QLatin1String("KEY_COUNT"), QString::number(kSettingFieldCount))
        .replace(QLatin1Char('\n'), QStringLiteral("\n    "));
}

void PrintHelp()
{
    QString text = QStringLiteral("mbscript - work with Marrowby script files without the editor\n\n"
                                  "Usage:\n");
    for (const Command &command : CommandTable())
        text += QStringLiteral("  mbscript %1 %2\n").arg(QLatin1String(command.name), QLatin1String(command.synopsis));
    text += QStringLiteral("  mbscript --help\n  mbscript --version\n\nCommands:\n");
    for (const Command &command : CommandTable())
        text += QStringLiteral("  %1 %2\n    %3\n\n")
                    .arg(QLatin1String(command.name), QLatin1String(command.synopsis), Indented(command.description));
    text += QStringLiteral(
        "  --help\n    Prints this text.\n\n"
        "  --version\n    Prints the version of mbscript (the editor's version).\n\n"
        "Messages the editor would show in a message box (a file that cannot be read, an invalid date)\n"
        "are printed on stderr, one line each.\n\n"
        "Exit status: 0 when the file was read (and written), 1 when it could not be read, 2 for a usage\n"
        "error, 3 when OUT (for dump, standard output) could not be written; check, get and set have their\n"
        "own (above).\n");
    std::fputs(text.toUtf8().constData(), stdout);
}

} // namespace

int PrintCommandHelp(const char *name)
{
    for (const Command &command : CommandTable()) {
        if (std::strcmp(command.name, name) != 0)
            continue;
        QString text = QStringLiteral("Usage: mbscript %1 %2\n\n%3\n")
                           .arg(QLatin1String(command.name), QLatin1String(command.synopsis),
                                QString::fromUtf8(command.description));
        if (std::strcmp(name, "check") == 0) {
            text += QStringLiteral("\nRules (warnings unless marked as errors):\n");
            for (const CheckRule &rule : CheckRules())
                text += QStringLiteral("  %1\n      %2\n").arg(QLatin1String(rule.id), QString::fromUtf8(rule.summary));
        }
        std::fputs(text.toUtf8().constData(), stdout);
    }
    return kExitOk;
}

int RunCommandLine(const QStringList &arguments)
{
    if (arguments.isEmpty())
        return UsageError(QStringLiteral("mbscript: no command given"));
    const QString &first = arguments.first();
    if (first == QLatin1String("--help") || first == QLatin1String("-h") || first == QLatin1String("help")) {
        PrintHelp();
        return kExitOk;
    }
    if (first == QLatin1String("--version")) {
        std::printf("mbscript %s\n", kAppVersion);
        return kExitOk;
    }
    for (const Command &command : CommandTable()) {
        if (first == QLatin1String(command.name))
            return command.run(arguments.mid(1));
    }
    return UsageError(QStringLiteral("mbscript: unknown command \"%1\"").arg(first));
}
