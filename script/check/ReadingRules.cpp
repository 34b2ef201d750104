#include "script/check/ReadingRules.h"

#include "script/ScriptFile.h"
#include "script/SettingFields.h"
#include "script/SynchArray.h"
#include "script/check/CheckContext.h"
#include "script/check/KnownKeys.h"

#include <array>

namespace {

constexpr auto W = CheckSeverity::Warning;

bool IsComment(QStringView line) { return line.startsWith(u';') || line.startsWith(u'#'); }

QString Quoted(QStringView text) { return u'"' + text.toString() + u'"'; }

// For a section named like an action that never loads ("Action07",
// "Action 7", "Action0", "Action-3"): why, and the name that would load.
// False for a name that is no such attempt ("Actions", "Backup").
bool ExplainUnloaded(QStringView name, QString &explanation)
{
    constexpr QStringView prefix(u"Action");
    qint32 number = 0;
    if (!name.startsWith(prefix, Qt::CaseInsensitive) || ParseActionName(name, number))
        return false;
    const QStringView rest = name.mid(prefix.size()).trimmed();
    if (rest.isEmpty()) {
        explanation = QStringLiteral("it has no number; actions are named Action1, Action2, ...");
        return true;
    }
    qsizetype i = (rest[0] == u'-' || rest[0] == u'+') ? 1 : 0;
    const bool negative = rest[0] == u'-';
    if (i == rest.size())
        return false;
    for (qsizetype j = i; j < rest.size(); ++j)
        if (rest[j] < u'0' || rest[j] > u'9')
            return false;
    while (i < rest.size() - 1 && rest[i] == u'0')
        ++i;
    const QStringView digits = rest.mid(i);
    bool fits = false;
    const qint64 value = digits.size() <= 10 ? digits.toLongLong(&fits) : 0;
    if (negative || value == 0)
        explanation = QStringLiteral("action numbers start at 1");
    else if (!fits || value > 0x7FFFFFFF)
        explanation = QStringLiteral("its number is too large");
    else
        explanation = QStringLiteral("only the exact form loads: rename it \"Action%1\"").arg(value);
    return true;
}

} // namespace

void CReadingRules::Run()
{
    const CScriptFile &file = m_context.File();
    const bool anySection = file.GetCount() > 0;
    CheckPreamble(anySection);
    if (!anySection && file.LastReadStatus() == ScriptReadStatus::Read) {
        const qsizetype first = file.GetPreambleCount() > 0 ? m_context.LineOf(file.GetPreambleLine(0)) : 1;
        m_context.Report(first, {}, {}, W, "no-sections",
                         QStringLiteral("the file has no section header such as [Default] or [Action1]: "
                                        "nothing in it is read"));
    }
    for (const auto &section : file.Sections())
        CheckSectionName(*section);
    const auto &loaded = m_context.Loaded();
    for (size_t i = 0; i < loaded.size(); ++i)
        if (loaded[i].section)
            CheckKeys(*loaded[i].section, loaded[i].name, m_context.KeyLinesOf(i));
}

void CReadingRules::CheckPreamble(bool anySection)
{
    const CScriptFile &file = m_context.File();
    for (qsizetype i = 0; i < file.GetPreambleCount(); ++i) {
        const QStringView line = file.GetPreambleLine(i);
        const qsizetype number = m_context.LineOf(line);
        if (line.startsWith(u'['))
            m_context.Report(number, {}, {}, W, "bad-header",
                             QStringLiteral("header %1 has no closing ']': it starts no section").arg(Quoted(line)));
        else if (anySection && !IsComment(line))
            m_context.Report(number, {}, {}, W, "before-first-header",
                             QStringLiteral("%1 stands before the first section header and belongs to no section: "
                                            "it is ignored").arg(Quoted(line)));
    }
}

void CReadingRules::CheckSectionName(const CSection &section)
{
    const CScriptFile &file = m_context.File();
    const qsizetype line = m_context.HeaderLine(section);
    const CSection *first = file.FindSection(section.m_strName);
    if (first != &section) {
        m_context.Report(line, section.m_strName, {}, W, "duplicate-section",
                         QStringLiteral("section [%1] appears again and is ignored: the one at line %2 wins")
                             .arg(section.m_strName)
                             .arg(m_context.HeaderLine(*first)));
    } else {
        QString explanation;
        if (ExplainUnloaded(section.m_strName, explanation))
            m_context.Report(line, section.m_strName, {}, W, "unloaded-section",
                             QStringLiteral("section [%1] is never loaded: %2").arg(section.m_strName, explanation));
    }
    for (qsizetype i = 0; i < section.GetLooseCount(); ++i) {
        const QStringView loose = section.GetLooseLine(i).text;
        if (loose.startsWith(u'['))
            m_context.Report(m_context.LineOf(loose), section.m_strName, {}, W, "bad-header",
                             QStringLiteral("header %1 has no closing ']': it starts no section, and the lines "
                                            "after it belong to [%2]").arg(Quoted(loose), section.m_strName));
    }
}

void CReadingRules::CheckKeys(const CSection &section, const QString &name,
                              std::array<qint32, kSettingFieldCount> &firstLines)
{
    for (qsizetype i = 0; i < section.GetCount(); ++i) {
        const QStringView line = section.GetLine(i);
        const QStringView key = line.first(line.indexOf(u'='));
        if (key == u"@")
            continue;
        const int index = m_keys.IndexOf(key);
        if (index >= 0) {
            qint32 &first = firstLines[size_t(index)];
            if (first < 0)
                first = qint32(i);
            else
                m_context.Report(m_context.LineOfStored(section, i), name, key.toString(), W, "duplicate-key",
                                 QStringLiteral("%1 is set again and this line is ignored: the one at line %2 wins")
                                     .arg(SettingFields()[size_t(index)].Key())
                                     .arg(m_context.LineOfStored(section, first)));
            continue;
        }
        const QStringView trimmed = key.trimmed();
        if (const SettingField *field = m_keys.Find(trimmed); field && !trimmed.isEmpty()) {
            m_context.Report(m_context.LineOfStored(section, i), name, field->Key(), W, "key-not-matched",
                             QStringLiteral("%1 has a space around its key: lookups never match it, so %2 is "
                                            "not set here; write \"%2=\"").arg(Quoted(key), field->Key()));
            continue;
        }
        const QString suggestion = m_keys.Suggest(key);
        m_context.Report(m_context.LineOfStored(section, i), name, key.toString(), W, "unknown-key",
                         suggestion.isEmpty()
                             ? QStringLiteral("unknown key %1: the editor does not read it").arg(Quoted(key))
                             : QStringLiteral("unknown key %1: did you mean \"%2\"?").arg(Quoted(key), suggestion));
    }
}
