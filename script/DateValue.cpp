#include "script/DateValue.h"

#include "framework/Clock.h"
#include "framework/ModalUi.h"
#include "script/Calendar.h"
#include "script/WideNumbers.h"
#include "script/ZoneSnapshot.h"

#include <QDate>
#include <QLocale>

#include <ctime>
#include <limits>

namespace {

constexpr quint64 kTicksPerSecond = 10000000ULL;
// Days from 1601-01-01 to 1970-01-01.
constexpr qint64 kDaysFrom1601To1970 = qint64(kUnixEpochFileTime / kTicksPerDay);

// The local date "%%today" with `offsetText` (a signed count of days) means,
// formatted with `picture`. Nothing when the offset leaves the range of
// FILETIME values.
std::optional<QString> ExpandToday(QStringView offsetText, const QString &picture)
{
    qsizetype pos = 0;
    const quint64 maxTicks = std::numeric_limits<quint64>::max();
    const NumberText offset = ReadNumberText(offsetText, pos, maxTicks / kTicksPerDay + 1, NumberChars::Unicode);
    const quint64 days = offset.magnitude;
    if (offset.overflow || days > maxTicks / kTicksPerDay)
        return std::nullopt;

    const qint64 nowMs = Clock().NowUtc().toMSecsSinceEpoch();
    const time_t nowSeconds = time_t(nowMs >= 0 ? nowMs / 1000 : (nowMs - 999) / 1000);
    tzset();
    struct tm local = {};
    if (!localtime_r(&nowSeconds, &local))
        gmtime_r(&nowSeconds, &local);
    const qint64 localDays =
        Calendar::DaysFromCivil(qint64(local.tm_year) + 1900, local.tm_mon + 1, local.tm_mday) + kDaysFrom1601To1970;
    if (localDays < 0)
        return std::nullopt;
    const quint64 secondOfDay = quint64(local.tm_hour) * 3600 + quint64(local.tm_min) * 60 + quint64(local.tm_sec);
    const quint64 ticks = quint64(localDays) * kTicksPerDay + secondOfDay * kTicksPerSecond
                          + quint64(nowMs - qint64(nowSeconds) * 1000) * 10000;

    const quint64 shift = days * kTicksPerDay;
    quint64 shifted = ticks;
    if (offset.negative) {
        if (shift > ticks)
            return std::nullopt;
        shifted = ticks - shift;
    } else {
        if (shift > maxTicks - ticks)
            return std::nullopt;
        shifted = ticks + shift;
    }
    const Calendar::CivilDate date = Calendar::CivilFromDays(qint64(shifted / kTicksPerDay) - kDaysFrom1601To1970);
    return DateLocale().toString(QDate(int(date.year), date.month, date.day), picture);
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

QLocale DateLocale()
{
    return t_pDateLocale ? *t_pDateLocale : QLocale();
}

CScopedDateLocale::CScopedDateLocale(const QLocale &locale) : m_pOuter(t_pDateLocale), m_locale(locale)
{
    t_pDateLocale = &m_locale;
}

CScopedDateLocale::~CScopedDateLocale()
{
    t_pDateLocale = m_pOuter;
}

QString GetShortDateFormat()
{
    return DateLocale().dateFormat(QLocale::ShortFormat);
}

std::optional<qsizetype> MatchMonthName(QStringView text, const QString &picture, int &month)
{
    return MatchName(
        text, picture, 1, 12, [](int m) { return QDate(1996, m, 1); }, month);
}

std::optional<qsizetype> MatchDayName(QStringView text, const QString &picture, int &weekday)
{
    // 1 January 1996 was a Monday.
    int day = 0;
    const auto length = MatchName(
        text, picture, 1, 7, [](int d) { return QDate(1996, 1, d); }, day);
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
            fields.year = ReadInt32(text, t, NumberChars::Unicode);
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
            (c == u'M' ? fields.month : fields.day) = ReadInt32(text, t, NumberChars::Unicode);
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
        fields.year = diff < -51  ? century + 100 + fields.year
                      : diff > 51 ? century - 100 + fields.year
                                  : century + fields.year;
    }
    if (fields.year < kFirstDateYear || fields.year > kLastDateYear)
        return "Invalid year";
    if (fields.month == 2 && fields.day > Calendar::DaysInMonth(fields.year, 2))
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

quint64 DateToFileTime(const DateFields &fields, bool fromLocal)
{
    if (fields.year < kFirstDateYear || fields.year > kLastDateYear || fields.month < 1 || fields.month > 12
        || fields.day < 1 || fields.day > Calendar::DaysInMonth(fields.year, fields.month))
        return 0;
    const qint64 days = Calendar::DaysFromCivil(fields.year, fields.month, fields.day) + kDaysFrom1601To1970;
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
