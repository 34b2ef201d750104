#include "cli/CheckReport.h"

#include "cli/JsonWriter.h"
#include "framework/FileName.h"

QString CheckProblemLine(const CheckProblem &problem)
{
    const QString file = ShownFileName(problem.file);
    const QString where = problem.line > 0 ? QStringLiteral("%1:%2").arg(file).arg(problem.line) : file;
    return QStringLiteral("%1: %2: %3 [%4]\n").arg(where, SeverityName(problem.severity), problem.message, problem.rule);
}

QString CheckSummaryLine(const QString &file, int errors, int warnings)
{
    if (errors == 0 && warnings == 0)
        return QStringLiteral("%1: no problems\n").arg(ShownFileName(file));
    auto count = [](int n, const char *what) {
        return QStringLiteral("%1 %2%3").arg(n).arg(QLatin1String(what)).arg(n == 1 ? "" : "s");
    };
    return QStringLiteral("%1: %2, %3\n").arg(ShownFileName(file), count(errors, "error"), count(warnings, "warning"));
}

void WriteCheckProblemJson(CJsonWriter &json, const CheckProblem &problem, bool first)
{
    json.Raw(first ? "\n  {\"file\": " : ",\n  {\"file\": ").String(problem.file);
    json.Raw(", \"line\": ").Integer(problem.line);
    json.Raw(", \"section\": ").String(problem.section);
    json.Raw(", \"key\": ").String(problem.key);
    json.Raw(", \"severity\": ").String(SeverityName(problem.severity));
    json.Raw(", \"rule\": ").String(problem.rule);
    json.Raw(", \"message\": ").String(problem.message).Raw("}");
}
