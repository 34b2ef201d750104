#include "cli/CheckCommand.h"

#include "cli/CheckReport.h"
#include "cli/Commands.h"
#include "cli/JsonWriter.h"
#include "framework/LosslessUtf8.h"
#include "script/SynchArray.h"
#include "script/check/ScriptChecker.h"

#include <cstdio>
#include <utility>

namespace {

enum CheckExit : int { kCheckClean = 0, kCheckFailed = 1 };

struct Options
{
    bool json = false;
    bool strict = false;
    QStringList files;
};

void Print(const QString &text)
{
    const QByteArray bytes = EncodeUtf8Lossless(text);  // a value's bytes as they came in
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

} // namespace

int RunCheck(const QStringList &arguments)
{
    Options options;
    bool optionsEnd = false;
    for (const QString &argument : arguments) {
        if (!optionsEnd && argument == QLatin1String("--json"))
            options.json = true;
        else if (!optionsEnd && argument == QLatin1String("--strict"))
            options.strict = true;
        else if (!optionsEnd && argument == QLatin1String("--"))
            optionsEnd = true;
        else if (!optionsEnd && argument.startsWith(u'-') && argument.size() > 1)
            return UsageError(QStringLiteral("mbscript check: unknown option \"%1\"").arg(argument));
        else
            options.files << argument;
    }
    if (options.files.isEmpty())
        return UsageError(QStringLiteral("mbscript check: no FILE given"));

    int status = kCheckClean;
    CJsonWriter json(stdout);
    bool first = true;
    if (options.json)
        json.Raw("[");
    for (const QString &path : options.files) {
        CSynchArray document;
        std::vector<CheckProblem> problems;
        if (!CScriptChecker::CheckFile(path, document, problems)) {
            status = kCheckFailed;
            const CheckProblem unreadable{path, 0, {}, {}, CheckSeverity::Error, QStringLiteral("unreadable"),
                                          QStringLiteral("the file cannot be read")};
            if (options.json)
                WriteCheckProblemJson(json, unreadable, std::exchange(first, false));
            else
                Print(CheckProblemLine(unreadable));
            continue;
        }
        int errors = 0;
        int warnings = 0;
        QString text;
        for (const CheckProblem &problem : problems) {
            (problem.severity == CheckSeverity::Error ? errors : warnings) += 1;
            if (options.json)
                WriteCheckProblemJson(json, problem, std::exchange(first, false));
            else
                text += CheckProblemLine(problem);
        }
        if (errors > 0 || (options.strict && warnings > 0))
            status = kCheckFailed;
        if (!options.json)
            Print(text + CheckSummaryLine(path, errors, warnings));
    }
    if (options.json) {
        json.Raw(first ? "]\n" : "\n]\n");
        json.Flush();
    }
    std::fflush(stdout);
    return status;
}
