#pragma once
// The local time zone's offset from UTC on a date, as the C library gives it
// (it reads TZ itself, so a changed TZ takes effect).

#include <QtGlobal>

#include <unordered_map>

// While one lives on this thread, each date's local offset is asked of the
// time zone once and remembered: a load converts its dates with the zone as
// it stood when the load began, and pays for reading the zone once per
// distinct date rather than once per value.
class CZoneSnapshot
{
public:
    CZoneSnapshot();
    ~CZoneSnapshot();
    CZoneSnapshot(const CZoneSnapshot &) = delete;
    CZoneSnapshot &operator=(const CZoneSnapshot &) = delete;

    // Seconds by which local time is ahead of UTC at local midnight of the
    // date. Where time_t cannot hold that day (a 32-bit time_t beyond 2038, or
    // years past what the C library handles), the offset is taken on the same
    // day of a "twin" year between 2010 and 2037 that starts on the same
    // weekday and has the same length, so that rules like "last Sunday of
    // March" fall on the same dates. Without any answer from the C library the
    // date is taken as UTC.
    static qint64 Offset(qint64 year, int month, int day);

private:
    CZoneSnapshot *m_pOuter;
    std::unordered_map<qint64, qint64> m_offsets; // days since 1970-01-01 -> offset
};
