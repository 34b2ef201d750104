#include "script/check/ReadingRules.h"

#include "script/ScriptFile.h"
#include "script/SettingFields.h"
#include "script/SynchArray.h"
#include "script/check/CheckContext.h"
#include "script/check/KnownKeys.h"

#include <array>

namespace {

constexpr auto W = CheckSeverity::Warning;

bool IsComment(QStringView line)
{
    return line.startsWith(u';') || line.startsWith(u'#');
}

// A text in quotes; a very long one is cut short, so that one line stays readable.
QString Quoted(QStringView text)
{
    constexpr qsizetype kLongest = 80;
    if (text.size() <= kLongest)
        return u'"' + text.toString() + u'"';
    return u'"' + text.first(kLongest).toString() + QStringLiteral("...\" (%1 characters)").arg(text.size());
}

// Why a section named like an action ("Action07", "Action 7", "Action0",
// "Action-3", "Action0x10", "Action1e3") never loads, and the name that
// would. False for a name that is no such attempt ("Actions", "Backup").
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
    auto rename = [&](qint64 value) {
        explanation += value >= 1 && value <= 0x7FFFFFFF ? QStringLiteral(": rename it \"Action%1\"").arg(value)
                                                         : QStringLiteral(", and %1 is no action number").arg(value);
    };
    // Hexadecimal and exponent forms: only decimal digits count.
    if (rest.size() > 2 && rest[0] == u'0' && (rest[1] == u'x' || rest[1] == u'X')) {
        bool ok = false;
        const qint64 value = rest.mid(2).toLongLong(&ok, 16);
        if (!ok)
            return false;
        explanation = QStringLiteral("action numbers are decimal, and 0x%1 is hexadecimal").arg(rest.mid(2));
        rename(value);
        return true;
    }
    if (const qsizetype e = rest.indexOf(u'e', 0, Qt::CaseInsensitive); e > 0) {
        bool mantissaOk = false;
        bool exponentOk = false;
        const qint64 mantissa = rest.first(e).toLongLong(&mantissaOk);
        const int exponent = rest.mid(e + 1).toInt(&exponentOk);
        if (!mantissaOk || !exponentOk || rest[0] == u'-' || rest[0] == u'+' || rest[e + 1] == u'-'
            || rest[e + 1] == u'+' || exponent > 18)
            return false;
        qint64 value = mantissa;
        for (int i = 0; i < exponent && value <= 0x7FFFFFFF; ++i)
            value *= 10;
        explanation =
            QStringLiteral("action numbers are plain decimal digits, and %1 is written with an exponent").arg(rest);
        rename(value);
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
    const bool zero = digits == u"0";
    if (negative || zero)
        explanation = QStringLiteral("action numbers start at 1");
    else if (digits.size() > 10 || digits.toLongLong() > 0x7FFFFFFF)
        explanation = QStringLiteral("its number is larger than 2147483647, the largest action number");
    else
        explanation = QStringLiteral("only the exact form loads: rename it \"Action%1\"").arg(digits);
    return true;
}

} // namespace

void CReadingRules::CheckPreamble()
{
    const CScriptFile &file = m_context.File();
    const bool anySection = file.GetCount() > 0;
    for (qsizetype i = 0; i < file.GetPreambleCount(); ++i) {
        const QStringView line = file.GetPreambleLine(i);
        if (line.startsWith(u'['))
            m_context.Report(m_context.LineOf(line), {}, {}, W, "bad-header",
                             QStringLiteral("header %1 has no closing ']': it starts no section").arg(Quoted(line)));
        else if (anySection && !IsComment(line))
            m_context.Report(m_context.LineOf(line), {}, {}, W, "before-first-header",
                             QStringLiteral("%1 stands before the first section header and belongs to no section: "
                                            "it is ignored")
                                 .arg(Quoted(line)));
        else
            CheckIgnoreLine(line, {});
    }
    if (!anySection && file.LastReadStatus() == ScriptReadStatus::Read) {
        const qsizetype first = file.GetPreambleCount() > 0 ? m_context.LineOf(file.GetPreambleLine(0)) : 1;
        m_context.Report(first, {}, {}, W, "no-sections",
                         QStringLiteral("the file has no section header such as [Default] or [Action1]: "
                                        "nothing in it is read"));
    }
}

void CReadingRules::CheckIgnoreLine(QStringView line, const QString &section)
{
    CheckRuleSet rules = 0;
    QStringList unknown;
    if (!ParseIgnoreLine(line, rules, unknown) || (unknown.isEmpty() && rules != 0))
        return;
    m_context.Report(m_context.LineOf(line), section, {}, W, "bad-ignore",
                     unknown.isEmpty() ? QStringLiteral("the ignore line names no rule")
                                       : QStringLiteral("the ignore line names no rule %1: see mbscript check --help")
                                             .arg(Quoted(unknown.join(QStringLiteral(", ")))));
}

void CReadingRules::CheckSection(const CSection &section)
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
                                            "after it belong to [%2]")
                                 .arg(Quoted(loose), section.m_strName));
        else
            CheckIgnoreLine(loose, section.m_strName);
    }
}

void CReadingRules::CheckKeys(size_t loaded)
{
    const CSection &section = *m_context.Loaded()[loaded].section;
    const QString &name = m_context.Loaded()[loaded].name;
    CCheckContext::KeyLines &firstLines = m_context.KeyLinesOf(loaded);
    for (qsizetype i = 0; i < section.GetCount(); ++i) {
        const QStringView line = section.GetLine(i);
        const QStringView key = line.first(line.indexOf(u'='));
        // "@=" lines are the engine's own; ";Path2=E:\Old" is a line the user put out of use.
        if (key == u"@" || IsComment(key))
            continue;
        const int index = m_keys.IndexOf(key);
        if (index >= 0) {
            qint32 &first = firstLines[size_t(index)];
            if (first < 0)
                first = qint32(i);
            else if (m_context.Wants(name, "duplicate-key", W))
                m_context.Deliver(m_context.LineOfStored(section, i), name, key.toString(), W, "duplicate-key",
                                  QStringLiteral("%1 is set again and this line is ignored: the one at line %2 wins")
                                      .arg(SettingFields()[size_t(index)].Key())
                                      .arg(m_context.LineOfStored(section, first)));
            continue;
        }
        const QStringView trimmed = key.trimmed();
        if (const SettingField *field = m_keys.Find(trimmed); field && !trimmed.isEmpty()) {
            m_context.Report(m_context.LineOfStored(section, i), name, field->Key(), W, "key-not-matched",
                             QStringLiteral("%1 has a space around its key: lookups never match it, so %2 is "
                                            "not set here; write \"%2=\"")
                                 .arg(Quoted(key), field->Key()));
            continue;
        }
        if (!m_context.Wants(name, "unknown-key", W))
            continue;
        const QString suggestion = m_keys.Suggest(key);
        m_context.Deliver(m_context.LineOfStored(section, i), name, key.toString(), W, "unknown-key",
                          suggestion.isEmpty()
                              ? QStringLiteral("unknown key %1: the editor does not read it").arg(Quoted(key))
                              : QStringLiteral("unknown key %1: did you mean \"%2\"?").arg(Quoted(key), suggestion));
    }
}
