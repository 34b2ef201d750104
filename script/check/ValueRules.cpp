#include "script/check/ValueRules.h"

#include "script/DateValue.h"
#include "script/ScriptFile.h"
#include "script/SettingCatalogue.h"
#include "script/SettingFields.h"
#include "script/WideNumbers.h"
#include "script/check/CheckContext.h"

namespace {

constexpr auto W = CheckSeverity::Warning;

bool IsBlank(QChar c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

QString Quoted(QStringView text) { return u'"' + text.toString() + u'"'; }

} // namespace

void CValueRules::Run()
{
    // The lines the reading rules found each key on: the first, as lookups take it.
    const auto &loaded = m_context.Loaded();
    for (size_t i = 0; i < loaded.size(); ++i) {
        if (!loaded[i].section)
            continue;
        const CCheckContext::KeyLines &lines = m_context.KeyLinesOf(i);
        for (int field = 0; field < kSettingFieldCount; ++field)
            if (lines[size_t(field)] >= 0)
                CheckValue(*loaded[i].section, loaded[i].name, loaded[i].isDefault, SettingFields()[size_t(field)],
                           lines[size_t(field)]);
    }
}

void CValueRules::CheckValue(const CSection &section, const QString &name, bool isDefault, const SettingField &field,
                             qsizetype lineIndex)
{
    const QStringView raw = section.ValueOfLine(lineIndex);
    // Most values are sound: their line and key are looked up only for a report.
    const auto line = [&] { return m_context.LineOfStored(section, lineIndex); };
    const auto key = [&] { return field.Key(); };
    switch (field.kind) {
    case FieldKind::Text:
    case FieldKind::EscapedText:
        if (!isDefault && raw.isEmpty()) {
            QString inherited;
            const CSection *defaults = m_context.DefaultSection();
            if (defaults && defaults->GetString(QStringView(field.key), inherited) && !inherited.isEmpty())
                m_context.Report(line(), name, key(), W, "empty-override",
                                 QStringLiteral("%1 is empty here, so this action has none: \"Default\" sets %2 "
                                                "(line %3); remove the line to inherit it")
                                     .arg(key(), Quoted(inherited))
                                     .arg(m_context.LineOfKey(defaults, QStringView(field.key))));
        }
        return;
    case FieldKind::Date:
        if (!raw.isEmpty()) {
            DateFields fields;
            const QString text = raw.toString();
            if (const char *error = DateError(fields, text))
                m_context.Report(line(), name, key(), W, "invalid-date",
                                 QStringLiteral("%1: %2 is not a date of the picture %3; the filter keeps the "
                                                "date it inherits").arg(QString::fromLatin1(error), Quoted(text),
                                                                         GetShortDateFormat()));
        }
        return;
    default:
        break;
    }
    qint64 value = 0;
    if (!CheckNumber(name, field, raw, line, value))
        return;
    if (field.IsFlag() && value != 0 && value != 1) {
        m_context.Report(line(), name, key(), W, "bad-number",
                         QStringLiteral("%1 is a flag, 0 or 1: %2 counts as on").arg(key()).arg(value));
    } else if (field.type == SettingKind::Operation && OperationNameForCode(int(value)).isEmpty()) {
        m_context.Report(line(), name, key(), W, "unknown-code",
                         QStringLiteral("operation code %1 has no text in the editor (0 to 8, -1 to prompt, "
                                        "-2 to -10 prompted)").arg(value));
    } else if (field.type == SettingKind::Sort && SortNameForCode(int(value)).isEmpty()) {
        m_context.Report(line(), name, key(), W, "unknown-code",
                         QStringLiteral("sort code %1 has no text in the editor (-1 to 6)").arg(value));
    } else if (field.kind == FieldKind::Mask && (quint32(value) & ~field.BoxBits()) != 0) {
        m_context.Report(line(), name, key(), W, "unknown-code",
                         QStringLiteral("%1 has bits 0x%2 outside the five attribute boxes (read-only 0x01, hidden "
                                        "0x02, system 0x04, directory 0x10, archive 0x20)")
                             .arg(key())
                             .arg(quint32(value) & ~field.BoxBits(), 0, 16));
    }
}

bool CValueRules::CheckNumber(const QString &name, const SettingField &field, QStringView raw,
                              const std::function<qsizetype()> &line, qint64 &value)
{
    const auto key = [&] { return field.Key(); };
    const bool wide = field.kind == FieldKind::Int64;
    value = wide ? WideToInt64(raw) : qint64(WideToInt32(raw));
    qsizetype i = 0;
    while (i < raw.size() && IsBlank(raw[i]))
        ++i;
    const bool negative = i < raw.size() && raw[i] == u'-';
    if (i < raw.size() && (raw[i] == u'-' || raw[i] == u'+'))
        ++i;
    const qsizetype digitsStart = i;
    while (i < raw.size() && raw[i] >= u'0' && raw[i] <= u'9')
        ++i;
    QStringView digits = raw.mid(digitsStart, i - digitsStart);
    QStringView rest = raw.mid(i);
    while (!rest.isEmpty() && IsBlank(rest.back()))
        rest.chop(1);
    if (digits.isEmpty()) {
        m_context.Report(line(), name, key(), W, "bad-number",
                         raw.trimmed().isEmpty()
                             ? QStringLiteral("%1 has no number: it is read as 0").arg(key())
                             : QStringLiteral("%1 is not a number: %2 is read as 0").arg(key(), Quoted(raw)));
        return false;
    }
    if (!rest.isEmpty()) {
        m_context.Report(line(), name, key(), W, "bad-number",
                         QStringLiteral("%1 has %2 after its digits: %3 is read as %4")
                             .arg(key(), Quoted(rest), Quoted(raw))
                             .arg(value));
        return false;
    }
    while (digits.size() > 1 && digits[0] == u'0')
        digits = digits.mid(1);
    // Nine digits or fewer always fit, and read back as written.
    if (digits.size() <= 9)
        return true;
    const QString written = (negative && digits != u"0" ? QStringLiteral("-") : QString()) + digits.toString();
    if (written != QString::number(value)) {
        m_context.Report(line(), name, key(), W, "bad-number",
                         QStringLiteral("%1 is out of range: %2 is read as %3").arg(key(), Quoted(raw)).arg(value));
        return false;
    }
    return true;
}
