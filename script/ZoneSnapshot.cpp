#include "script/ZoneSnapshot.h"

#include "script/Calendar.h"

#include <cerrno>
#include <climits>
#include <ctime>
#include <optional>

namespace {

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

// The offset without a snapshot: see CZoneSnapshot::Offset.
qint64 LocalOffsetSeconds(qint64 year, int month, int day)
{
    using namespace Calendar;
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

thread_local CZoneSnapshot *t_pSnapshot = nullptr;

} // namespace

CZoneSnapshot::CZoneSnapshot() : m_pOuter(t_pSnapshot)
{
    t_pSnapshot = this;
}

CZoneSnapshot::~CZoneSnapshot()
{
    t_pSnapshot = m_pOuter;
}

qint64 CZoneSnapshot::Offset(qint64 year, int month, int day)
{
    if (!t_pSnapshot)
        return LocalOffsetSeconds(year, month, day);
    const qint64 date = Calendar::DaysFromCivil(year, month, day);
    auto found = t_pSnapshot->m_offsets.find(date);
    if (found == t_pSnapshot->m_offsets.end())
        found = t_pSnapshot->m_offsets.emplace(date, LocalOffsetSeconds(year, month, day)).first;
    return found->second;
}
