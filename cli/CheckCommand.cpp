#include "cli/CheckCommand.h"

#include "cli/CheckReport.h"
#include "cli/Commands.h"
#include "cli/JsonWriter.h"
#include "cli/LocaleOption.h"
#include "cli/StandardStreams.h"
#include "framework/ModalUi.h"
#include "script/DateValue.h"
#include "script/SynchArray.h"
#include "script/check/ScriptChecker.h"

#include <cstdio>
#include <memory>

namespace {

enum CheckExit : int { kCheckClean = 0, kCheckFailed = 1, kCheckUnreadable = 2 };

// Problems shown per file unless --max-problems says otherwise.
constexpr qint64 kDefaultMaxProblems = 1000;

struct Options
{
    bool json = false;
    bool strict = false;
    std::optional<QLocale> locale;
    CheckRuleSet ignored = 0;
    qint64 maxProblems = kDefaultMaxProblems;
    QStringList files;
};

// Reads the options; a usage error's status, or -1 to go on.
int ReadOptions(const QStringList &arguments, Options &options)
{
    bool optionsEnd = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        QString argument = arguments[i];
        if (optionsEnd || argument == QLatin1String("-") || !argument.startsWith(u'-')) {
            options.files << argument;
            continue;
        }
        // "--name=value" and "--name value" alike.
        QString value;
        bool hasValue = false;
        if (const qsizetype equals = argument.indexOf(u'='); argument.startsWith(QLatin1String("--")) && equals > 0) {
            value = argument.mid(equals + 1);
            argument.truncate(equals);
            hasValue = true;
        }
        auto takeValue = [&]() -> bool {
            if (!hasValue && i + 1 < arguments.size()) {
                value = arguments[++i];
                hasValue = true;
            }
            return hasValue;
        };
        if (argument == QLatin1String("--json")) {
            options.json = true;
        } else if (argument == QLatin1String("--strict")) {
            options.strict = true;
        } else if (argument == QLatin1String("--")) {
            optionsEnd = true;
        } else if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            return PrintCommandHelp("check");
        } else if (argument == QLatin1String("--locale")) {
            if (const int status =
                    ReadLocaleOption("check", takeValue() ? std::optional(value) : std::nullopt, options.locale);
                status >= 0)
                return status;
        } else if (argument == QLatin1String("--ignore")) {
            if (!takeValue())
                return UsageError(QStringLiteral("mbscript check: --ignore needs a RULE"));
            for (const QString &rule : value.split(u',', Qt::SkipEmptyParts)) {
                const int index = CheckRuleIndex(rule.trimmed());
                if (index < 0)
                    return UsageError(QStringLiteral("mbscript check: --ignore: no rule is named \"%1\"").arg(rule));
                options.ignored |= RuleBit(index);
            }
        } else if (argument == QLatin1String("--max-problems")) {
            bool number = false;
            options.maxProblems = takeValue() ? value.toLongLong(&number) : 0;
            if (!number || options.maxProblems < 0)
                return UsageError(QStringLiteral("mbscript check: --max-problems needs a count (0: no limit)"));
        } else {
            return UsageError(QStringLiteral("mbscript check: unknown option \"%1\"").arg(argument));
        }
    }
    if (options.files.isEmpty())
        return UsageError(QStringLiteral("mbscript check: no FILE given"));
    return -1;
}

} // namespace

int RunCheck(const QStringList &arguments)
{
    Options options;
    if (const int status = ReadOptions(arguments, options); status >= 0)
        return status;
    // Only this command's reading of dates changes, on this thread.
    std::unique_ptr<CScopedDateLocale> locale;
    if (options.locale)
        locale = std::make_unique<CScopedDateLocale>(*options.locale);

    int status = kCheckClean;
    CJsonWriter out(stdout);
    CCheckPrinter printer(out, options.json, options.maxProblems);
    printer.Begin();
    for (const QString &file : options.files) {
        const QString shown = file == QLatin1String("-") ? QStringLiteral("<stdin>") : file;
        printer.BeginFile(shown);
        {
            CSynchArray document;
            if (!CScriptChecker::CheckFile(InputPath(file), document, printer, options.ignored)) {
                printer.Unreadable(shown);
                status = qMax<int>(status, kCheckUnreadable);
                continue;
            }
        }
        printer.EndFile();
        if (printer.Errors() > 0 || (options.strict && printer.Warnings() > 0))
            status = qMax<int>(status, kCheckFailed);
        // Each file's report goes out when it is done.
        if (!out.Flush() || std::fflush(stdout) != 0)
            break;
    }
    printer.End();
    if (!out.Flush() || std::fflush(stdout) != 0 || std::ferror(stdout)) {
        ModalUi().ShowMessage(QStringLiteral("mbscript check: the report could not be written to standard output."));
        return kExitUnwritable;
    }
    return status;
}
