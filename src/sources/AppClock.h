#pragma once

#include <QDateTime>
#include <QtGlobal>

#include <functional>
#include <memory>

// A one-shot or repeating timer of an AppClock; stops when destroyed.
class AppTimer {
public:
    virtual ~AppTimer() = default;
    // (Re)starts the timer; a zero or negative interval falls due at once.
    virtual void start(qint64 intervalMs, bool repeating, std::function<void()> callback) = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
};

// Time source of the application, its screens, the player and the content layer, replaced by a
// virtual clock in tests.
class AppClock {
public:
    virtual ~AppClock() = default;
    // Milliseconds on a monotonic scale.
    virtual qint64 nowMs() const = 0;
    // The wall time, in UTC.
    virtual QDateTime now() const = 0;
    // A stopped timer that runs its callbacks on the main thread.
    virtual std::unique_ptr<AppTimer> createTimer() = 0;

    // Runs `callback` once after `delayMs`, unless the handle is gone.
    [[nodiscard]] std::unique_ptr<AppTimer> after(qint64 delayMs, std::function<void()> callback);

    // The system's monotonic and wall clocks with Qt timers, alive for the whole run.
    static AppClock *system();
};
