#pragma once
// Where the program learns the current time. Everything that needs "now"
// (the "%%today" token, two-digit years) asks Clock(), so that tests can fix
// the day they run on.

#include <QDateTime>

class IClock
{
public:
    virtual ~IClock() = default;
    // The current date and time in UTC.
    virtual QDateTime NowUtc() const = 0;
};

// The system's clock.
class SystemClock final : public IClock
{
public:
    QDateTime NowUtc() const override;
};

// A clock that always tells the same instant (converted to UTC).
class FixedClock final : public IClock
{
public:
    explicit FixedClock(const QDateTime &instant);
    QDateTime NowUtc() const override;

private:
    QDateTime m_utc;
};

// The clock everyone asks: the system clock unless one is installed.
IClock &Clock();

// Installs a clock (not owned) for the lifetime of a scope.
class ScopedClock
{
public:
    explicit ScopedClock(IClock &clock);
    ~ScopedClock();
    ScopedClock(const ScopedClock &) = delete;
    ScopedClock &operator=(const ScopedClock &) = delete;

private:
    IClock *m_previous;
};
