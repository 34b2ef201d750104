#pragma once
// Date values of a script: a date in the user's short date format, or the
// token "%%today" with an optional offset in days, turned into a FILETIME
// (100-ns ticks since 1601-01-01 UTC; 0 means no date).

#include <QLocale>
#include <QString>
#include <QStringView>
#include <QtGlobal>
#include <optional>

struct DateFields
{
    int day = -1;
    int month = -1;
    int year = -1; // after validation the full year; straight after parsing it may hold two digits
};

// FILETIME ticks in one day, and the FILETIME of 1970-01-01 00:00 UTC.
constexpr quint64 kTicksPerDay = 864000000000ULL;
constexpr quint64 kUnixEpochFileTime = 116444736000000000ULL;

// The range of years a date may have.
constexpr int kFirstDateYear = 1601;
constexpr int kLastDateYear = 30848;

// The user's short date picture (QLocale's short format of the date locale).
QString GetShortDateFormat();

// The locale dates are read in on this thread: the one a CScopedDateLocale
// sets, else the default locale.
QLocale DateLocale();

// While one lives on this thread, dates are read (and "%%today" is written)
// in `locale`'s short date format and names, as on a machine of that locale,
// whatever the default locale is.
class CScopedDateLocale
{
public:
    explicit CScopedDateLocale(const QLocale &locale);
    ~CScopedDateLocale();
    CScopedDateLocale(const CScopedDateLocale &) = delete;
    CScopedDateLocale &operator=(const CScopedDateLocale &) = delete;

private:
    const QLocale *m_pOuter;
    QLocale m_locale;
};

// When `text` begins with a month name of the default locale, ignoring case,
// sets `month` (1 to 12) and returns the length of the name. `picture` is
// "MMMM" (full names) or "MMM" (abbreviations).
std::optional<qsizetype> MatchMonthName(QStringView text, const QString &picture, int &month);

// When `text` begins with a day name, ignoring case, sets `weekday` (1 Monday
// to 6 Saturday, 0 Sunday) and returns the length of the name. `picture` is
// "dddd" or "ddd".
std::optional<qsizetype> MatchDayName(QStringView text, const QString &picture, int &weekday);

// Parses `text` against `picture` (empty: GetShortDateFormat()). True when
// exactly three fields were read. Each parse starts from fields of -1.
bool ParseDateText(DateFields &fields, const QString &text, const QString &picture = QString());

// ParseDateText with the user's picture, then the range checks. On failure it
// shows one message through the modal UI ("Invalid month", "Invalid day",
// "Invalid year" or "Invalid date"); a non-empty `context` (the file, section,
// key and text) follows the message on its own line.
bool ValidateDate(DateFields &fields, const QString &text, const QString &context = QString());

// The same checks without a word to the user: the message ValidateDate would
// show, or nullptr for a valid date.
const char *DateError(DateFields &fields, const QString &text);

// The FILETIME of the date at 00:00:00; `fromLocal` takes the date as local time
// (the zone's offset on that date, CZoneSnapshot::Offset). 0 for fields that
// are not a date of the years 1601 to 30848.
quint64 DateToFileTime(const DateFields &fields, bool fromLocal);
