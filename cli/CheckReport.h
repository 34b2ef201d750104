#pragma once
// The two forms `mbscript check` prints its problems in: one line each in the
// form compilers use (FILE:LINE: warning|error: message [rule-id]) with a
// summary line per file, or a JSON list of objects; and the printer that
// writes each problem as the checker finds it, up to a limit per file.

#include "script/check/CheckSink.h"

#include <QString>

class CJsonWriter;

// "FILE:LINE: severity: message [rule]\n"; a problem of the whole file (line 0) has no LINE.
QString CheckProblemLine(const CheckProblem &problem);

// "FILE: no problems\n" or "FILE: 1 error, 2 warnings\n"; with `omitted`
// problems not shown, "FILE: 1 error, 2 warnings (2 not shown)\n".
QString CheckSummaryLine(const QString &file, qint64 errors, qint64 warnings, qint64 omitted = 0);

// One object of the JSON list: {"file", "line", "section", "key", "severity", "rule",
// "message"}, on its own line, after a comma unless it is the `first`.
void WriteCheckProblemJson(CJsonWriter &json, const CheckProblem &problem, bool first);

// Prints problems as they come, in either form, naming the file as the user
// named it; counts them, and past `limit` problems of one file (0: none)
// only counts them.
class CCheckPrinter final : public ICheckSink
{
public:
    CCheckPrinter(CJsonWriter &out, bool json, qint64 limit) : m_out(out), m_bJson(json), m_nLimit(limit) {}

    // The list's opening and closing brackets (JSON only).
    void Begin();
    void End();
    // Each file: BeginFile, the checker's problems, EndFile. `shown` names it.
    void BeginFile(const QString &shown);
    void EndFile();
    // A file that cannot be read.
    void Unreadable(const QString &shown);

    bool Accept(CheckSeverity severity) override;
    void Found(CheckProblem problem) override;

    qint64 Errors() const { return m_nErrors; }
    qint64 Warnings() const { return m_nWarnings; }

private:
    void Print(CheckProblem problem);

    CJsonWriter &m_out;
    bool m_bJson;
    qint64 m_nLimit;
    QString m_strFile;
    bool m_bFirst = true;
    qint64 m_nErrors = 0;
    qint64 m_nWarnings = 0;
};
