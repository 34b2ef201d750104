#include "framework/Clock.h"

namespace {
SystemClock g_systemClock;
IClock *g_current = nullptr;
} // namespace

QDateTime SystemClock::NowUtc() const
{
    return QDateTime::currentDateTimeUtc();
}

FixedClock::FixedClock(const QDateTime &instant) : m_utc(instant.toUTC()) {}

QDateTime FixedClock::NowUtc() const
{
    return m_utc;
}

IClock &Clock()
{
    return g_current ? *g_current : g_systemClock;
}

ScopedClock::ScopedClock(IClock &clock) : m_previous(g_current)
{
    g_current = &clock;
}

ScopedClock::~ScopedClock()
{
    g_current = m_previous;
}
