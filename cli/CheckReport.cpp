#include "cli/CheckReport.h"

#include "cli/JsonWriter.h"
#include "framework/FileName.h"
#include "framework/LosslessUtf8.h"

#include <utility>

namespace {

void Raw(CJsonWriter &out, const QString &text)
{
    const QByteArray bytes = EncodeUtf8Lossless(text); // a value's bytes as they came in
    out.Raw(std::string_view(bytes.constData(), size_t(bytes.size())));
}

} // namespace

QString CheckProblemLine(const CheckProblem &problem)
{
    const QString file = ShownFileName(problem.file);
    const QString where = problem.line > 0 ? QStringLiteral("%1:%2").arg(file).arg(problem.line) : file;
    return QStringLiteral("%1: %2: %3 [%4]\n")
        .arg(where, SeverityName(problem.severity), problem.message, problem.rule);
}

QString CheckSummaryLine(const QString &file, qint64 errors, qint64 warnings, qint64 omitted)
{
    if (errors == 0 && warnings == 0)
        return QStringLiteral("%1: no problems\n").arg(ShownFileName(file));
    auto count = [](qint64 n, const char *what) {
        return QStringLiteral("%1 %2%3").arg(n).arg(QLatin1String(what)).arg(n == 1 ? "" : "s");
    };
    const QString more = omitted > 0 ? QStringLiteral(" (%1 not shown: see --max-problems)").arg(omitted) : QString();
    return QStringLiteral("%1: %2, %3%4\n")
        .arg(ShownFileName(file), count(errors, "error"), count(warnings, "warning"), more);
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

void CCheckPrinter::Begin()
{
    if (m_bJson)
        m_out.Raw("[");
}

void CCheckPrinter::End()
{
    if (m_bJson)
        m_out.Raw(m_bFirst ? "]\n" : "\n]\n");
}

void CCheckPrinter::BeginFile(const QString &shown)
{
    m_strFile = shown;
    m_nErrors = 0;
    m_nWarnings = 0;
}

void CCheckPrinter::EndFile()
{
    const qint64 omitted = m_nLimit > 0 ? qMax<qint64>(0, m_nErrors + m_nWarnings - m_nLimit) : 0;
    if (!m_bJson)
        Raw(m_out, CheckSummaryLine(m_strFile, m_nErrors, m_nWarnings, omitted));
    else if (omitted > 0)
        m_out.Raw(std::exchange(m_bFirst, false) ? "\n  {\"file\": " : ",\n  {\"file\": ")
            .String(m_strFile)
            .Raw(", \"omitted\": ")
            .Integer(omitted)
            .Raw("}");
}

void CCheckPrinter::Unreadable(const QString &shown)
{
    Print({shown,
           0,
           {},
           {},
           CheckSeverity::Error,
           QStringLiteral("unreadable"),
           QStringLiteral("the file cannot be read")});
}

bool CCheckPrinter::Accept(CheckSeverity severity)
{
    (severity == CheckSeverity::Error ? m_nErrors : m_nWarnings) += 1;
    return m_nLimit == 0 || m_nErrors + m_nWarnings <= m_nLimit;
}

void CCheckPrinter::Found(CheckProblem problem)
{
    problem.file = m_strFile;
    Print(std::move(problem));
}

void CCheckPrinter::Print(CheckProblem problem)
{
    if (m_bJson)
        WriteCheckProblemJson(m_out, problem, std::exchange(m_bFirst, false));
    else
        Raw(m_out, CheckProblemLine(problem));
}
