#pragma once

#include <QtGlobal>

#include <functional>
#include <memory>

// A pending one-shot callback of an AppClock; destroying it cancels the callback.
class AppTimer {
public:
    virtual ~AppTimer() = default;
};

// Time source of the application state and its screens, replaced by a virtual clock in tests.
class AppClock {
public:
    virtual ~AppClock() = default;
    // Milliseconds on a monotonic scale.
    virtual qint64 nowMs() const = 0;
    // Runs `callback` once on the main thread after `delayMs`, unless the handle is gone.
    [[nodiscard]] virtual std::unique_ptr<AppTimer> after(qint64 delayMs, std::function<void()> callback) = 0;

    // The monotonic clock with Qt timers, alive for the whole run.
    static AppClock *system();
};
