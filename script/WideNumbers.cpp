#include "script/WideNumbers.h"

#include <QChar>

#include <limits>

namespace {

template <NumberChars Chars>
bool IsBlank(QChar c)
{
    if constexpr (Chars == NumberChars::Ascii)
        return c == u' ' || (c >= u'\t' && c <= u'\r');
    else
        return c.isSpace();
}

// The digit's value, or -1.
template <NumberChars Chars>
int DigitValue(QChar c)
{
    if constexpr (Chars == NumberChars::Ascii)
        return c >= u'0' && c <= u'9' ? c.unicode() - u'0' : -1;
    else
        return c.category() == QChar::Number_DecimalDigit ? c.digitValue() : -1;
}

template <NumberChars Chars>
inline NumberText Read(QStringView text, qsizetype &pos, quint64 limit)
{
    NumberText number;
    qsizetype i = pos;
    const qsizetype n = text.size();
    while (i < n && IsBlank<Chars>(text[i]))
        ++i;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        number.negative = text[i] == u'-';
        ++i;
    }
    const qsizetype firstDigit = i;
    // A magnitude past `limit` stays there: it is above limit / 10.
    const quint64 most = limit / 10;
    const int last = int(limit % 10);
    for (int digit; i < n && (digit = DigitValue<Chars>(text[i])) >= 0; ++i) {
        if (number.magnitude > most || (number.magnitude == most && digit > last)) {
            number.overflow = true;
            number.magnitude = limit;
        } else {
            number.magnitude = number.magnitude * 10 + quint64(digit);
        }
    }
    if (i == firstDigit)
        return NumberText{};
    pos = i;
    return number;
}

// The number saturated to T: the magnitude is held just past T's largest
// value, which is exactly the magnitude of its smallest.
template <typename T, NumberChars Chars>
T ReadSaturating(QStringView text, qsizetype &pos)
{
    constexpr quint64 highest = quint64(std::numeric_limits<T>::max());
    const NumberText number = Read<Chars>(text, pos, highest + 1);
    if (number.negative)
        return number.magnitude > highest ? std::numeric_limits<T>::min() : -T(number.magnitude);
    return number.magnitude > highest ? std::numeric_limits<T>::max() : T(number.magnitude);
}

} // namespace

NumberText ReadNumberText(QStringView text, qsizetype &pos, quint64 limit, NumberChars chars)
{
    return chars == NumberChars::Ascii ? Read<NumberChars::Ascii>(text, pos, limit)
                                       : Read<NumberChars::Unicode>(text, pos, limit);
}

qint32 ReadInt32(QStringView text, qsizetype &pos, NumberChars chars)
{
    return chars == NumberChars::Ascii ? ReadSaturating<qint32, NumberChars::Ascii>(text, pos)
                                       : ReadSaturating<qint32, NumberChars::Unicode>(text, pos);
}

qint32 WideToInt32(QStringView text)
{
    qsizetype pos = 0;
    return ReadSaturating<qint32, NumberChars::Ascii>(text, pos);
}

qint64 WideToInt64(QStringView text)
{
    qsizetype pos = 0;
    return ReadSaturating<qint64, NumberChars::Ascii>(text, pos);
}
