#pragma once

#include "app/AppClock.h"

#include <map>
#include <memory>

// A virtual AppClock: time moves only through advance(), which runs the callbacks that fall
// due on the way, in time order, each with nowMs() at its due time.
class ManualClock final : public AppClock {
public:
    ManualClock();
    ~ManualClock() override;

    qint64 nowMs() const override;
    std::unique_ptr<AppTimer> after(qint64 delayMs, std::function<void()> callback) override;

    void advance(qint64 ms);
    // Callbacks waiting to fall due.
    int pending() const;

private:
    struct Pending {
        qint64 due;
        std::function<void()> callback;
    };
    struct State {
        qint64 now = 0;
        quint64 nextId = 0;
        std::map<quint64, Pending> pending;
    };
    class Handle;

    std::shared_ptr<State> m_state;
};
