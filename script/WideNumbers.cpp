#include "script/WideNumbers.h"

#include <limits>

namespace {

bool IsBlank(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

template <typename T>
T ParseSaturating(QStringView text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && IsBlank(text[i].unicode()))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    // Accumulate towards the sign's side, so that the smallest value fits.
    T value = 0;
    constexpr T lowest = std::numeric_limits<T>::min();
    constexpr T highest = std::numeric_limits<T>::max();
    for (; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            break;
        const int digit = c - u'0';
        if (negative) {
            if (value < (lowest + digit) / 10)
                return lowest;
            value = value * 10 - digit;
        } else {
            if (value > (highest - digit) / 10)
                return highest;
            value = value * 10 + digit;
        }
    }
    return value;
}

} // namespace

qint32 WideToInt32(QStringView text) { return ParseSaturating<qint32>(text); }
qint64 WideToInt64(QStringView text) { return ParseSaturating<qint64>(text); }
