#include "script/check/ValueRules.h"

#include "script/DateValue.h"
#include "script/ScriptFile.h"
#include "script/SettingCatalogue.h"
#include "script/SettingFields.h"
#include "script/WideNumbers.h"
#include "script/check/CheckContext.h"
#include "script/check/PathKey.h"

#include <QStringList>

namespace {

constexpr auto W = CheckSeverity::Warning;

bool IsBlank(QChar c)
{
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

QString Quoted(QStringView text)
{
    return u'"' + text.toString() + u'"';
}

} // namespace

void CValueRules::CheckSection(size_t loaded)
{
    // The lines the reading rules found each key on: the first, as lookups take it.
    const CCheckContext::LoadedSection &section = m_context.Loaded()[loaded];
    const CCheckContext::KeyLines &lines = m_context.KeyLinesOf(loaded);
    for (int field = 0; field < kSettingFieldCount; ++field)
        if (lines[size_t(field)] >= 0)
            CheckValue(*section.section, section.name, section.isDefault, SettingFields()[size_t(field)],
                       lines[size_t(field)]);
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
        if (QStringView(field.key) == u"Path1" || QStringView(field.key) == u"Path2")
            CheckPathForm(name, field, raw, line);
        else if (QStringView(field.key) == u"Mask")
            CheckMaskForm(name, raw, line);
        if (!isDefault && raw.isEmpty()) {
            QString inherited;
            const CSection *defaults = m_context.DefaultSection();
            if (defaults && defaults->GetString(QStringView(field.key), inherited) && !inherited.isEmpty())
                m_context.Report(line(), name, key(), W, "empty-override",
                                 QStringLiteral("%1 is empty here, so this action has none: \"Default\" sets %2; "
                                                "remove the line to inherit it")
                                     .arg(key(), Quoted(inherited)));
        }
        return;
    case FieldKind::Date:
        if (!raw.isEmpty()) {
            DateFields fields;
            const QString text = raw.toString();
            if (const char *error = DateError(fields, text))
                m_context.Report(
                    line(), name, key(), W, "invalid-date",
                    QStringLiteral("%1: %2 is not a date: expected %3 (%4); the filter keeps the "
                                   "date it inherits")
                        .arg(QString::fromLatin1(error), Quoted(text), GetShortDateFormat(), DateLocale().name()));
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
                                        "-2 to -10 prompted)")
                             .arg(value));
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

void CValueRules::CheckPathForm(const QString &name, const SettingField &field, QStringView raw,
                                const std::function<qsizetype()> &line)
{
    const unsigned form = CPathKey(raw).FormFlags();
    if (form == 0)
        return;
    QStringList why;
    if (form & CPathKey::kQuote)
        why << QStringLiteral("it holds a double quote, which no Windows name may (a path pasted with its quotes?)");
    if (form & CPathKey::kForbidden)
        why << QStringLiteral("it holds a character Windows forbids in names (<>|?*, a control character, "
                              "':' outside the drive)");
    if (form & CPathKey::kEdgeSpace)
        why << QStringLiteral("it starts or ends with a space");
    if (form & CPathKey::kTrailingDot)
        why << QStringLiteral("a name ends in a dot or a space, which Windows drops");
    if (form & CPathKey::kWorkingFolder)
        why << QStringLiteral("it is relative: the engine resolves it against its working folder");
    if (form & CPathKey::kDriveFolder)
        why << QStringLiteral("it has no '\\' after the drive: the engine resolves it against the current folder "
                              "of drive %1")
                   .arg(raw.trimmed().first(2).toString().toUpper());
    if (form & CPathKey::kCurrentDrive)
        why << QStringLiteral("it has no drive: the engine resolves it on its current drive");
    m_context.Report(line(), name, field.Key(), W, "path-form",
                     QStringLiteral("%1 %2: %3").arg(field.Key(), Quoted(raw), why.join(QStringLiteral("; "))));
}

void CValueRules::CheckMaskForm(const QString &name, QStringView raw, const std::function<qsizetype()> &line)
{
    for (const QStringView piece : raw.split(u';')) {
        if (!piece.contains(u' '))
            continue;
        // "Annual Report*.xlsx" is one name with a space; "*.pdf *.docx" two masks run together.
        int wildWords = 0;
        for (const QStringView word : piece.split(u' ', Qt::SkipEmptyParts))
            wildWords += word.contains(u'*') || word.contains(u'?') ? 1 : 0;
        const bool edge = piece.front() == u' ' || piece.back() == u' ';
        if (wildWords < 2 && !edge)
            continue;
        m_context.Report(line(), name, QStringLiteral("Mask"), W, "mask-form",
                         QStringLiteral("the mask piece %1 holds a space: it matches only names with that space; "
                                        "pieces are separated by ';' alone (\"*.pdf;*.docx\")")
                             .arg(Quoted(piece)));
        return;
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
