#pragma once

#include "app/AppClock.h"

#include <map>
#include <memory>

// A virtual AppClock: time moves only through advance(), which runs the timers that fall due
// on the way, in time order (ties in the order the timers were made), each with nowMs() at its
// due time. Timers may outlive the clock.
class ManualClock final : public AppClock {
public:
    ManualClock();
    ~ManualClock() override;

    qint64 nowMs() const override;
    std::unique_ptr<AppTimer> createTimer() override;

    void advance(qint64 ms);
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
};
