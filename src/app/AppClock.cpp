#include "AppClock.h"

#include <QElapsedTimer>
#include <QTimer>

namespace {

class QtTimer final : public AppTimer {
public:
    QtTimer(qint64 delayMs, std::function<void()> callback)
        : m_callback(std::move(callback))
    {
        m_timer.setSingleShot(true);
        m_timer.setTimerType(Qt::PreciseTimer);
        // A copy runs, so the callback may drop this handle.
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            const std::function<void()> callback = m_callback;
            callback();
        });
        m_timer.start(std::chrono::milliseconds(qMax<qint64>(0, delayMs)));
    }

private:
    std::function<void()> m_callback;
    QTimer m_timer;
};

class SystemClock final : public AppClock {
public:
    SystemClock() { m_elapsed.start(); }
    qint64 nowMs() const override { return m_elapsed.elapsed(); }
    std::unique_ptr<AppTimer> after(qint64 delayMs, std::function<void()> callback) override
    {
        return std::make_unique<QtTimer>(delayMs, std::move(callback));
    }

private:
    QElapsedTimer m_elapsed;
};

} // namespace

AppClock *AppClock::system()
{
    static SystemClock clock;
    return &clock;
}
