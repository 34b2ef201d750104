// The date parser with arbitrary pictures and texts: the input is the picture,
// a line feed, then the text. Parsing and name matching never fail unsafely,
// and a text that validates (in the user's picture) has a year dates may have
// and converts to a time inside those years, as UTC and as local time.

#include "FuzzSupport.h"

#include "script/DateValue.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString input = QString::fromUtf8(FuzzBytes(data, size));
    const qsizetype cut = input.indexOf(u'\n');
    const QString picture = cut < 0 ? QString() : input.left(cut);
    const QString text = cut < 0 ? input : input.mid(cut + 1);

    DateFields fields;
    ParseDateText(fields, text, picture);
    int weekday = 0, month = 0;
    MatchDayName(text, picture, weekday);
    MatchMonthName(text, picture, month);

    DateFields checked;
    if (DateError(checked, text) == nullptr) {
        FuzzCheck(checked.year >= kFirstDateYear && checked.year <= kLastDateYear, "a valid date has a valid year");
        for (bool local : {false, true}) {
            const quint64 time = DateToFileTime(checked, local);
            FuzzCheck(time > 0, "a valid date converts");
            FuzzCheck(time / kTicksPerDay <= quint64(kLastDateYear - kFirstDateYear + 1) * 366, "within the years");
        }
    }
    return 0;
}
