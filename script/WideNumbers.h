#pragma once
// Number texts of a script, read the way the engine's runtime reads them:
// leading white space, an optional sign, then decimal digits up to the first
// other character; no digits give 0. A number beyond the type's range
// saturates at its smallest or largest value, so the same text always gives
// the same number. Dates read their numbers the same way, with more
// characters counted as white space and digits.

#include <QStringView>
#include <QtGlobal>

// What counts as white space and as a digit: the engine's runtime knows the
// ASCII ones only; a date in the user's locale may hold any white space and
// any decimal digit (Arabic-Indic, fullwidth...).
enum class NumberChars { Ascii, Unicode };

struct NumberText
{
    quint64 magnitude = 0;
    bool negative = false;
    bool overflow = false; // the magnitude went past the limit and is held there
};

// Reads a number from `pos` on, its magnitude held at `limit`. Without digits
// it is 0 and `pos` does not move; otherwise `pos` moves past the digits.
NumberText ReadNumberText(QStringView text, qsizetype &pos, quint64 limit, NumberChars chars);

// The number from `pos` on, saturated to 32 bits; `pos` moves as above.
qint32 ReadInt32(QStringView text, qsizetype &pos, NumberChars chars);

qint32 WideToInt32(QStringView text);
qint64 WideToInt64(QStringView text);
