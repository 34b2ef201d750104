#include "script/check/CheckContext.h"

#include "script/SynchArray.h"

#include <algorithm>
#include <limits>

CCheckContext::CCheckContext(const CSynchArray &document) : m_document(document)
{
    const CScriptFile &file = document.m_ScriptFile;
    const QStringView text = file.Text();
    m_lineStarts.push_back(0);
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text[i] == u'\n')
            m_lineStarts.push_back(i + 1);

    m_pDefault = file.FindSection(u"Default");
    m_loaded.reserve(size_t(document.GetSize()) + 1);
    if (m_pDefault)
        m_loaded.push_back({m_pDefault, &document.m_Default, QStringLiteral("Default"), true});
    for (qsizetype i = 0; i < document.GetSize(); ++i) {
        const QString &name = document.m_arrActionNames.at(i);
        m_loaded.push_back({file.FindSection(name), document.GetAt(i), name, false});
    }
    KeyLines none;
    none.fill(-1);
    m_keyLines.assign(m_loaded.size(), none);
}

const CScriptFile &CCheckContext::File() const { return m_document.m_ScriptFile; }

qsizetype CCheckContext::LineOfOffset(qsizetype offset) const
{
    const auto after = std::upper_bound(m_lineStarts.begin(), m_lineStarts.end(), offset);
    return qsizetype(after - m_lineStarts.begin());
}

qsizetype CCheckContext::LineOf(QStringView view) const
{
    const QStringView text = File().Text();
    if (view.data() < text.data() || view.data() > text.data() + text.size())
        return 0;
    return LineOfOffset(view.data() - text.data());
}

qsizetype CCheckContext::HeaderLine(const CSection &section) const
{
    return section.HeaderOffset() < 0 ? 0 : LineOfOffset(section.HeaderOffset());
}

qsizetype CCheckContext::LineOfStored(const CSection &section, qsizetype index) const
{
    return LineOf(section.GetLine(index));
}

qsizetype CCheckContext::LineOfKey(const CSection *section, QStringView key) const
{
    if (!section)
        return 0;
    const qsizetype index = section->FindLine(key);
    return index < 0 ? 0 : LineOfStored(*section, index);
}

void CCheckContext::Report(qsizetype line, const QString &section, const QString &key, CheckSeverity severity,
                           const char *rule, const QString &message)
{
    m_problems.push_back({File().m_strPath, line, section, key, severity, QString::fromLatin1(rule), message});
}

std::vector<CheckProblem> CCheckContext::TakeProblems()
{
    std::stable_sort(m_problems.begin(), m_problems.end(), [](const CheckProblem &a, const CheckProblem &b) {
        const qsizetype left = a.line == 0 ? std::numeric_limits<qsizetype>::max() : a.line;
        const qsizetype right = b.line == 0 ? std::numeric_limits<qsizetype>::max() : b.line;
        return left < right;
    });
    return std::move(m_problems);
}
