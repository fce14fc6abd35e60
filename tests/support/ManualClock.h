#pragma once

#include "sources/AppClock.h"

#include <map>
#include <memory>

// A virtual AppClock: time moves only through advance(), which runs the timers that fall due
// on the way, in time order (ties in the order the timers were made), each with nowMs() and
// now() at its due time. The wall time starts at `now` and moves with nowMs(). Timers may
// outlive the clock.
class ManualClock final : public AppClock {
public:
    explicit ManualClock(const QDateTime &now = QDateTime::currentDateTimeUtc());
    ~ManualClock() override;

    qint64 nowMs() const override;
    QDateTime now() const override;
    std::unique_ptr<AppTimer> createTimer() override;

    void advance(qint64 ms);
    // Moves the wall time to `now`; nowMs() stays.
    void setNow(const QDateTime &now);
    // Timers waiting to fall due.
    int pending() const;

private:
    struct Slot {
        qint64 interval = 0;
        qint64 due = 0;
        bool repeating = false;
        bool active = false;
        std::function<void()> callback;
    };
    struct State {
        qint64 now = 0;
        quint64 nextId = 0;
        std::map<quint64, Slot> timers;
    };
    class Timer;

    std::shared_ptr<State> m_state;
    // The wall time at nowMs() == 0, in UTC.
    QDateTime m_wallAtZero;
};
