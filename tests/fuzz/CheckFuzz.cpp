// The rules of `mbscript check` over any bytes: every problem points at a line
// of the file (the whole script only for no-actions) and names a known rule
// and a severity; the problem of the whole script comes last; the text and JSON forms
// print each one once, as it is; checking again, or checking the decoded text
// as the editor does, finds the same list.

#include "FuzzSupport.h"

#include "cli/CheckReport.h"
#include "cli/JsonWriter.h"
#include "script/SynchArray.h"
#include "script/check/ScriptChecker.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <tuple>
#include <utility>
#include <vector>

namespace {

const QString kPath = QStringLiteral("fuzz.mbs");

// The lines an editor shows for `text`: at least one, and none after a final line feed.
qsizetype LineCount(QStringView text)
{
    const qsizetype feeds = text.count(u'\n');
    return text.endsWith(u'\n') || text.isEmpty() ? qMax<qsizetype>(feeds, 1) : feeds + 1;
}

auto Fields(const CheckProblem &p)
{
    return std::tie(p.file, p.line, p.section, p.key, p.severity, p.rule, p.message);
}

bool SameList(const std::vector<CheckProblem> &a, const std::vector<CheckProblem> &b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const CheckProblem &x, const CheckProblem &y) { return Fields(x) == Fields(y); });
}

void CheckProblems(const std::vector<CheckProblem> &problems, QStringView text)
{
    const qsizetype lines = LineCount(text);
    bool wholeSeen = false;
    for (const CheckProblem &problem : problems) {
        FuzzCheck(CheckRuleIndex(problem.rule) >= 0, "every problem has a known rule id");
        FuzzCheck(problem.severity == CheckSeverity::Warning || problem.severity == CheckSeverity::Error,
                  "every problem has a severity");
        FuzzCheck(!problem.message.isEmpty() && !problem.message.contains(u'\n'),
                  "every problem has a message of one line");
        FuzzCheck(problem.file == kPath, "every problem names the file");
        FuzzCheck((problem.line == 0) == (problem.rule == QLatin1String("no-actions")),
                  "only the script as a whole has no line");
        FuzzCheck(problem.line >= 0 && problem.line <= lines, "every line lies within the file's lines");
        FuzzCheck(problem.key.isEmpty() || !problem.section.isEmpty(), "a problem of a key names its section");
        FuzzCheck(!wholeSeen, "the problem of the whole script comes last");
        wholeSeen = problem.line == 0;
    }
}

void CheckTextForm(const std::vector<CheckProblem> &problems)
{
    int errors = 0;
    for (const CheckProblem &problem : problems) {
        const QString line = CheckProblemLine(problem);
        const QString where = problem.line > 0 ? QStringLiteral("%1:%2").arg(kPath).arg(problem.line) : kPath;
        FuzzCheck(line.count(u'\n') == 1 && line.endsWith(QStringLiteral(" [%1]\n").arg(problem.rule))
                      && line.startsWith(QStringLiteral("%1: %2: ").arg(where, SeverityName(problem.severity))),
                  "a problem's one line names its place, severity and rule");
        errors += problem.severity == CheckSeverity::Error ? 1 : 0;
    }
    const int warnings = int(problems.size()) - errors;
    const QString summary = CheckSummaryLine(kPath, errors, warnings);
    FuzzCheck(summary.count(u'\n') == 1 && summary.endsWith(u'\n') && summary.startsWith(kPath + QStringLiteral(": "))
                  && (problems.empty() ? summary.endsWith(QLatin1String(": no problems\n"))
                                       : summary.contains(QStringLiteral(" %1 warning").arg(warnings))),
              "the summary is one line counting the warnings");
}

void CheckJsonForm(const std::vector<CheckProblem> &problems)
{
    CJsonWriter json(nullptr);
    json.Raw("[");
    bool first = true;
    for (const CheckProblem &problem : problems)
        WriteCheckProblemJson(json, problem, std::exchange(first, false));
    json.Raw(first ? "]\n" : "\n]\n");
    QJsonParseError error;
    const QJsonDocument parsed = QJsonDocument::fromJson(QByteArray::fromStdString(json.Text()), &error);
    FuzzCheck(error.error == QJsonParseError::NoError && parsed.isArray(), "the JSON form parses");
    const QJsonArray list = parsed.array();
    FuzzCheck(list.size() == qsizetype(problems.size()), "the JSON form lists as many problems as the text form");
    for (qsizetype i = 0; i < list.size(); ++i) {
        const CheckProblem &problem = problems[size_t(i)];
        const QJsonObject object = list.at(i).toObject();
        // Every UTF-16 unit comes back, a lone surrogate too (written as an escape).
        FuzzCheck(object.size() == 7 && object.value(u"file").toString() == problem.file
                      && object.value(u"line").toInteger(-1) == problem.line
                      && object.value(u"section").toString() == problem.section
                      && object.value(u"key").toString() == problem.key
                      && object.value(u"severity").toString() == SeverityName(problem.severity)
                      && object.value(u"rule").toString() == problem.rule
                      && object.value(u"message").toString() == problem.message,
                  "the JSON form holds each problem as it is");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = FuzzBytes(data, size);
    CSynchArray document;
    std::vector<CheckProblem> problems;
    FuzzCheck(CScriptChecker::CheckBytes(bytes, kPath, document, problems), "any bytes are checked");
    CheckProblems(problems, document.m_ScriptFile.Text());
    CheckTextForm(problems);
    CheckJsonForm(problems);

    FuzzCheck(SameList(CScriptChecker::Check(document), problems), "checking the same document again finds the same");
    CSynchArray again;
    std::vector<CheckProblem> againProblems;
    CScriptChecker::CheckBytes(bytes, kPath, again, againProblems);
    FuzzCheck(SameList(againProblems, problems), "checking the same bytes again finds the same");
    if (!document.m_ScriptFile.Text().isEmpty()) {
        CSynchArray edited;
        std::vector<CheckProblem> editedProblems;
        CScriptChecker::CheckText(kPath, document.m_ScriptFile.Text().toString(), edited, editedProblems);
        FuzzCheck(SameList(editedProblems, problems), "the editor's check of the decoded text finds the same");
    }
    return 0;
}
