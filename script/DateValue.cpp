#include "script/DateValue.h"

#include "framework/Clock.h"
#include "framework/ModalUi.h"

#include <QDate>
#include <QLocale>

#include <cerrno>
#include <climits>
#include <ctime>
#include <limits>

namespace {

constexpr quint64 kTicksPerSecond = 10000000ULL;
constexpr qint64 kSecondsPerDay = 86400;
// Days from 1601-01-01 to 1970-01-01.
constexpr qint64 kDaysFrom1601To1970 = qint64(kUnixEpochFileTime / kTicksPerDay);

bool IsLeapYear(qint64 year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(qint64 year, int month)
{
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar.
qint64 DaysFromCivil(qint64 year, int month, int day)
{
    year -= month <= 2 ? 1 : 0;
    const qint64 era = (year >= 0 ? year : year - 399) / 400;
    const qint64 yearOfEra = year - era * 400;
    const qint64 dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const qint64 dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

// The date of a count of days since 1970-01-01.
QDate CivilFromDays(qint64 days)
{
    days += 719468;
    const qint64 era = (days >= 0 ? days : days - 146096) / 146097;
    const qint64 dayOfEra = days - era * 146097;
    const qint64 yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const qint64 dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const qint64 mp = (5 * dayOfYear + 2) / 153;
    const int day = int(dayOfYear - (153 * mp + 2) / 5 + 1);
    const int month = int(mp < 10 ? mp + 3 : mp - 9);
    const qint64 year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    return QDate(int(year), month, day);
}

// 0 Sunday to 6 Saturday.
int WeekdayOfJanuaryFirst(qint64 year)
{
    const qint64 days = DaysFromCivil(year, 1, 1);
    return int(((days + 4) % 7 + 7) % 7);  // 1970-01-01 was a Thursday
}

// mktime for a local midnight; nothing when the C library cannot represent it.
std::optional<time_t> LocalMidnight(qint64 year, int month, int day)
{
    if (year - 1900 > INT_MAX || year - 1900 < INT_MIN)
        return std::nullopt;
    struct tm local = {};
    local.tm_year = int(year - 1900);
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_isdst = -1;
    errno = 0;
    const time_t t = mktime(&local);
    if (t == time_t(-1) && errno != 0)
        return std::nullopt;
    return t;
}

// Seconds by which the local time zone is ahead of UTC at local midnight of
// the date. Where time_t cannot hold that day (a 32-bit time_t beyond 2038, or
// years past what the C library handles), the offset is taken on the same day
// of a "twin" year between 2010 and 2037 that starts on the same weekday and
// has the same length, so that rules like "last Sunday of March" fall on the
// same dates. Without any answer from the C library the date is taken as UTC.
qint64 LocalOffsetSeconds(qint64 year, int month, int day)
{
    // mktime reads the time zone itself, so a changed TZ takes effect here.
    if (auto t = LocalMidnight(year, month, day))
        return DaysFromCivil(year, month, day) * kSecondsPerDay - qint64(*t);
    for (int twin = 2010; twin <= 2037; ++twin) {
        if (IsLeapYear(twin) == IsLeapYear(year) && WeekdayOfJanuaryFirst(twin) == WeekdayOfJanuaryFirst(year)) {
            if (auto t = LocalMidnight(twin, month, day))
                return DaysFromCivil(twin, month, day) * kSecondsPerDay - qint64(*t);
            break;
        }
    }
    return 0;
}

bool IsDecimalDigit(QChar c) { return c.category() == QChar::Number_DecimalDigit; }

// Reads a decimal number as the C library's strtol does: leading white space,
// an optional sign, then digits. Without digits the result is 0 and `pos` does
// not move; otherwise `pos` moves past the digits. `overflow` is set when the
// magnitude exceeds `limit`, and the magnitude is then held at `limit`.
quint64 ReadMagnitude(QStringView text, qsizetype &pos, bool &negative, quint64 limit, bool &overflow)
{
    qsizetype i = pos;
    while (i < text.size() && text[i].isSpace())
        ++i;
    negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    const qsizetype firstDigit = i;
    quint64 value = 0;
    overflow = false;
    while (i < text.size() && IsDecimalDigit(text[i])) {
        const quint64 digit = quint64(text[i].digitValue());
        if (value > (limit - digit) / 10) {
            overflow = true;
            value = limit;
        } else if (!overflow) {
            value = value * 10 + digit;
        }
        ++i;
    }
    if (i == firstDigit) {
        negative = false;
        return 0;
    }
    pos = i;
    return value;
}

// A numeric date field, held within the range of int.
int ReadField(QStringView text, qsizetype &pos)
{
    bool negative = false;
    bool overflow = false;
    const quint64 magnitude = ReadMagnitude(text, pos, negative, quint64(INT_MAX) + 1, overflow);
    if (negative)
        return magnitude > quint64(INT_MAX) ? INT_MIN : -int(magnitude);
    return magnitude > quint64(INT_MAX) ? INT_MAX : int(magnitude);
}

// The local date "%%today" with `offsetText` (a signed count of days) means,
// formatted with `picture`. Nothing when the offset leaves the range of
// FILETIME values.
std::optional<QString> ExpandToday(QStringView offsetText, const QString &picture)
{
    qsizetype pos = 0;
    bool negative = false;
    bool overflow = false;
    const quint64 maxTicks = std::numeric_limits<quint64>::max();
    const quint64 days = ReadMagnitude(offsetText, pos, negative, maxTicks / kTicksPerDay + 1, overflow);
    if (overflow || days > maxTicks / kTicksPerDay)
        return std::nullopt;

    const qint64 nowMs = Clock().NowUtc().toMSecsSinceEpoch();
    const time_t nowSeconds = time_t(nowMs >= 0 ? nowMs / 1000 : (nowMs - 999) / 1000);
    tzset();
    struct tm local = {};
    if (!localtime_r(&nowSeconds, &local))
        gmtime_r(&nowSeconds, &local);
    const qint64 localDays = DaysFromCivil(qint64(local.tm_year) + 1900, local.tm_mon + 1, local.tm_mday)
                             + kDaysFrom1601To1970;
    if (localDays < 0)
        return std::nullopt;
    const quint64 secondOfDay = quint64(local.tm_hour) * 3600 + quint64(local.tm_min) * 60 + quint64(local.tm_sec);
    const quint64 ticks = quint64(localDays) * kTicksPerDay + secondOfDay * kTicksPerSecond
                          + quint64(nowMs - qint64(nowSeconds) * 1000) * 10000;

    const quint64 shift = days * kTicksPerDay;
    quint64 shifted = ticks;
    if (negative) {
        if (shift > ticks)
            return std::nullopt;
        shifted = ticks - shift;
    } else {
        if (shift > maxTicks - ticks)
            return std::nullopt;
        shifted = ticks + shift;
    }
    const QDate date = CivilFromDays(qint64(shifted / kTicksPerDay) - kDaysFrom1601To1970);
    return DateLocale().toString(date, picture);
}

qsizetype RunLength(const QString &picture, qsizetype pos)
{
    qsizetype run = 1;
    while (pos + run < picture.size() && picture[pos + run] == picture[pos])
        ++run;
    return run;
}

template <typename DateOf>
std::optional<qsizetype> MatchName(QStringView text, const QString &picture, int first, int last, DateOf dateOf,
                                   int &found)
{
    const QLocale locale = DateLocale();
    for (int i = first; i <= last; ++i) {
        const QString name = locale.toString(dateOf(i), picture);
        if (!name.isEmpty() && text.startsWith(name, Qt::CaseInsensitive)) {
            found = i;
            return name.size();
        }
    }
    return std::nullopt;
}

} // namespace

namespace {
thread_local const QLocale *t_pDateLocale = nullptr;
} // namespace

QLocale DateLocale() { return t_pDateLocale ? *t_pDateLocale : QLocale(); }

CScopedDateLocale::CScopedDateLocale(const QLocale &locale) : m_pOuter(t_pDateLocale), m_locale(locale)
{
    t_pDateLocale = &m_locale;
}

CScopedDateLocale::~CScopedDateLocale() { t_pDateLocale = m_pOuter; }

QString GetShortDateFormat() { return DateLocale().dateFormat(QLocale::ShortFormat); }

std::optional<qsizetype> MatchMonthName(QStringView text, const QString &picture, int &month)
{
    return MatchName(text, picture, 1, 12, [](int m) { return QDate(1996, m, 1); }, month);
}

std::optional<qsizetype> MatchDayName(QStringView text, const QString &picture, int &weekday)
{
    // 1 January 1996 was a Monday.
    int day = 0;
    const auto length = MatchName(text, picture, 1, 7, [](int d) { return QDate(1996, 1, d); }, day);
    if (length)
        weekday = day == 7 ? 0 : day;
    return length;
}

bool ParseDateText(DateFields &fields, const QString &textIn, const QString &pictureIn)
{
    // Start afresh so that a field the picture lacks never keeps a value
    // from an earlier date.
    fields = DateFields{};
    const QString picture = pictureIn.isEmpty() ? GetShortDateFormat() : pictureIn;
    QString text = textIn;
    static const QString kToday = QStringLiteral("%%today");
    if (QStringView(text).left(kToday.size()).compare(kToday, Qt::CaseInsensitive) == 0) {
        const auto expanded = ExpandToday(QStringView(text).mid(kToday.size()), picture);
        if (!expanded)
            return false;
        text = *expanded;
    }

    qsizetype p = 0;
    qsizetype t = 0;
    bool quoted = false;
    int count = 0;
    while (p < picture.size() && t < text.size()) {
        const QChar c = picture[p];
        if (c == u'\'') {
            quoted = !quoted;
            ++p;
            continue;
        }
        const bool field = c == u'M' || c == u'd' || c == u'y';
        if (quoted || !field) {
            if (text[t] != c)
                return false;
            ++p;
            ++t;
            continue;
        }
        const qsizetype run = RunLength(picture, p);
        if (c == u'y') {
            p += qMin<qsizetype>(run, 4);
            fields.year = ReadField(text, t);
            ++count;
        } else if (run >= 3) {
            const qsizetype used = run >= 4 ? 4 : 3;
            const QString namePicture(used, c);
            int value = 0;
            const auto length = c == u'M' ? MatchMonthName(QStringView(text).mid(t), namePicture, value)
                                          : MatchDayName(QStringView(text).mid(t), namePicture, value);
            if (!length)
                return false;
            p += used;
            t += *length;
            if (c == u'M') {
                fields.month = value;
                ++count;
            }
        } else {
            p += run;
            (c == u'M' ? fields.month : fields.day) = ReadField(text, t);
            ++count;
        }
    }
    return count == 3;
}

const char *DateError(DateFields &fields, const QString &text)
{
    if (!ParseDateText(fields, text))
        return "Invalid date";
    if (fields.month < 1 || fields.month > 12)
        return "Invalid month";
    if (fields.day < 1 || fields.day > 31)
        return "Invalid day";
    if (fields.day == 31 && (fields.month == 4 || fields.month == 6 || fields.month == 9 || fields.month == 11))
        return "Invalid day";
    // Two-digit years fall within 51 years of the current one. A negative
    // year is no year at all.
    if (fields.year >= 0 && fields.year < 100) {
        const int now = Clock().NowUtc().date().year();
        const int century = now / 100 * 100;
        const int diff = fields.year - now % 100;
        fields.year = diff < -51 ? century + 100 + fields.year
                    : diff > 51  ? century - 100 + fields.year
                                 : century + fields.year;
    }
    if (fields.year < kFirstDateYear || fields.year > kLastDateYear)
        return "Invalid year";
    if (fields.month == 2 && fields.day > DaysInMonth(fields.year, 2))
        return "Invalid day";
    return nullptr;
}

bool ValidateDate(DateFields &fields, const QString &text, const QString &context)
{
    const char *error = DateError(fields, text);
    if (!error)
        return true;
    QString message = QString::fromLatin1(error);
    if (!context.isEmpty())
        message += u'\n' + context;
    ModalUi().ShowMessage(message);
    return false;
}

namespace {
thread_local CZoneSnapshot *t_pSnapshot = nullptr;
} // namespace

CZoneSnapshot::CZoneSnapshot() : m_pOuter(t_pSnapshot) { t_pSnapshot = this; }

CZoneSnapshot::~CZoneSnapshot() { t_pSnapshot = m_pOuter; }

qint64 CZoneSnapshot::Offset(qint64 year, int month, int day)
{
    if (!t_pSnapshot)
        return LocalOffsetSeconds(year, month, day);
    const qint64 date = DaysFromCivil(year, month, day);
    auto found = t_pSnapshot->m_offsets.find(date);
    if (found == t_pSnapshot->m_offsets.end())
        found = t_pSnapshot->m_offsets.emplace(date, LocalOffsetSeconds(year, month, day)).first;
    return found->second;
}

quint64 DateToFileTime(const DateFields &fields, bool fromLocal)
{
    if (fields.year < kFirstDateYear || fields.year > kLastDateYear || fields.month < 1 || fields.month > 12
        || fields.day < 1 || fields.day > DaysInMonth(fields.year, fields.month))
        return 0;
    const qint64 days = DaysFromCivil(fields.year, fields.month, fields.day) + kDaysFrom1601To1970;
    const quint64 local = quint64(days) * kTicksPerDay;
    if (!fromLocal)
        return local;
    const qint64 offset = CZoneSnapshot::Offset(fields.year, fields.month, fields.day);
    if (offset >= 0) {
        const quint64 shift = quint64(offset) * kTicksPerSecond;
        // Midnight of 1 January 1601 east of Greenwich lies before the first
        // FILETIME; it is held at the earliest instant that is still a date
        // (0 would mean "no date").
        return shift >= local ? 1 : local - shift;
    }
    return local + quint64(-offset) * kTicksPerSecond;
}
