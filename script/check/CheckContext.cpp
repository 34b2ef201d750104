#include "script/check/CheckContext.h"

#include "script/SynchArray.h"
#include "script/check/CheckSink.h"

#include <algorithm>

CCheckContext::CCheckContext(const CSynchArray &document, CheckRuleSet ignored, ICheckSink &sink)
    : m_document(document)
    , m_sink(sink)
    , m_ignored(ignored)
{
    const CScriptFile &file = document.m_ScriptFile;
    const QStringView text = file.Text();
    m_lineStarts.push_back(0);
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text[i] == u'\n')
            m_lineStarts.push_back(qint32(i + 1));

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

    QHash<const CSection *, qsizetype> loadedIndex;
    loadedIndex.reserve(qsizetype(m_loaded.size()));
    for (size_t i = 0; i < m_loaded.size(); ++i)
        if (m_loaded[i].section)
            loadedIndex.insert(m_loaded[i].section, qsizetype(i));
    m_loadedByFile.reserve(size_t(file.GetCount()));
    for (const auto &section : file.Sections())
        m_loadedByFile.push_back(loadedIndex.value(section.get(), -1));
    ReadIgnoreLines();
}

void CCheckContext::ReadIgnoreLines()
{
    const CScriptFile &file = m_document.m_ScriptFile;
    CheckRuleSet rules = 0;
    QStringList unknown;
    for (qsizetype i = 0; i < file.GetPreambleCount(); ++i)
        if (ParseIgnoreLine(file.GetPreambleLine(i), rules, unknown))
            m_ignored |= rules;
    for (const auto &section : file.Sections())
        for (qsizetype i = 0; i < section->GetLooseCount(); ++i)
            if (ParseIgnoreLine(section->GetLooseLine(i).text, rules, unknown) && rules != 0)
                m_sectionIgnores[section->m_strName.toCaseFolded()] |= rules;
}

const CScriptFile &CCheckContext::File() const
{
    return m_document.m_ScriptFile;
}

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

bool CCheckContext::Wants(const QString &section, const char *rule, CheckSeverity severity)
{
    if (rule != m_pLastRule) {
        m_pLastRule = rule;
        m_nLastRule = CheckRuleIndex(QString::fromLatin1(rule));
    }
    const CheckRuleSet bit = RuleBit(m_nLastRule);
    if (m_ignored & bit)
        return false;
    if (!m_sectionIgnores.isEmpty() && !section.isEmpty() && (m_sectionIgnores.value(section.toCaseFolded()) & bit))
        return false;
    return m_sink.Accept(severity);
}

void CCheckContext::Deliver(qsizetype line, const QString &section, const QString &key, CheckSeverity severity,
                            const char *rule, const QString &message)
{
    m_sink.Found({File().m_strPath, line, section, key, severity, QString::fromLatin1(rule), message});
}

void CCheckContext::Report(qsizetype line, const QString &section, const QString &key, CheckSeverity severity,
                           const char *rule, const QString &message)
{
    if (Wants(section, rule, severity))
        Deliver(line, section, key, severity, rule, message);
}
