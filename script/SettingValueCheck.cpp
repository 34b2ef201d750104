#include "script/SettingValueCheck.h"

#include "script/DateValue.h"
#include "script/SettingCatalogue.h"
#include "script/SettingFields.h"

#include <QRegularExpression>

#include <limits>

namespace {

CheckedValue Refused(const QString &error)
{
    return {false, QString(), error};
}
CheckedValue Accepted(const QString &value)
{
    return {true, value, QString()};
}

// A whole number from `low` to `high`, written in plain decimal.
CheckedValue WholeNumber(const QString &value, qint64 low, qint64 high)
{
    static const QRegularExpression digits(QStringLiteral("^-?[0-9]+$"));
    bool ok = false;
    const qint64 number = digits.match(value).hasMatch() ? value.toLongLong(&ok) : 0;
    if (!ok || number < low || number > high)
        return Refused(QStringLiteral("is not a whole number from %1 to %2").arg(low).arg(high));
    return Accepted(QString::number(number));
}

// A code of a closed list, given as the code or as its text (ignoring case).
CheckedValue ListCode(const QString &value, const QStringList &texts, int firstCode, QString (*nameOf)(int), int low,
                      int high)
{
    for (qsizetype i = 0; i < texts.size(); ++i)
        if (texts[i].compare(value, Qt::CaseInsensitive) == 0)
            return Accepted(QString::number(i + firstCode > high ? -1 : i + firstCode));
    const CheckedValue number = WholeNumber(value, low, high);
    if (number.ok && !nameOf(number.value.toInt()).isEmpty())
        return number;
    return Refused(QStringLiteral("is neither a code from %1 to %2 nor one of \"%3\"")
                       .arg(low)
                       .arg(high)
                       .arg(texts.join(QStringLiteral("\", \""))));
}

QString OperationName(int code)
{
    return OperationNameForCode(code);
}
QString SortName(int code)
{
    return SortNameForCode(code);
}

} // namespace

CheckedValue CheckSettingValue(const SettingField &field, const QString &value)
{
    constexpr qint64 int32Max = std::numeric_limits<qint32>::max();
    switch (field.type) {
    case SettingKind::Check:
    case SettingKind::Radio:
        return value == u"0" || value == u"1" ? Accepted(value) : Refused(QStringLiteral("is neither 0 nor 1"));
    case SettingKind::Operation:
        // The texts are codes 0 to 8, then "Always Prompt" (-1); prompted codes are -2 to -10.
        return ListCode(value, OperationTexts(), 0, OperationName, -10, 8);
    case SettingKind::Sort:
        return ListCode(value, SortTexts(), -1, SortName, -1, 6);
    case SettingKind::Mask: {
        // Any 32 bits, written as the loader reads them (the high bit set: negative).
        CheckedValue bits = WholeNumber(value, std::numeric_limits<qint32>::min(), std::numeric_limits<quint32>::max());
        if (bits.ok)
            bits.value = QString::number(qint32(quint32(bits.value.toLongLong())));
        return bits;
    }
    case SettingKind::Date: {
        DateFields fields;
        if (value.isEmpty())
            return Accepted(value);
        if (const char *error = DateError(fields, value))
            return Refused(QStringLiteral("is not a date in the short date format (%1)").arg(QLatin1String(error)));
        return Accepted(value);
    }
    default:
        break;
    }
    switch (field.kind) {
    case FieldKind::Int32:
        return WholeNumber(value, std::numeric_limits<qint32>::min(), int32Max);
    case FieldKind::NonNegative:
        return WholeNumber(value, 0, int32Max);
    case FieldKind::Int64:
        if (value.isEmpty()) // no limit
            return Accepted(value);
        return WholeNumber(value, std::numeric_limits<qint64>::min(), std::numeric_limits<qint64>::max());
    default:
        break;
    }
    if (value.contains(u'\n') || value.contains(u'\r'))
        return Refused(QStringLiteral("holds a line break"));
    return Accepted(value);
}
