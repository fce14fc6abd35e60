#include "AppClock.h"

#include <QElapsedTimer>
#include <QTimer>

namespace {

class QtTimer final : public AppTimer {
public:
    QtTimer()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        // A copy runs, so the callback may restart or drop this timer.
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            const std::function<void()> callback = m_callback;
            callback();
        });
    }

    void start(qint64 intervalMs, bool repeating, std::function<void()> callback) override
    {
        m_callback = std::move(callback);
        m_timer.setSingleShot(!repeating);
        m_timer.start(std::chrono::milliseconds(qMax<qint64>(0, intervalMs)));
    }

    void stop() override { m_timer.stop(); }
    bool isActive() const override { return m_timer.isActive(); }

private:
    std::function<void()> m_callback;
    QTimer m_timer;
};

class SystemClock final : public AppClock {
public:
    SystemClock() { m_elapsed.start(); }
    qint64 nowMs() const override { return m_elapsed.elapsed(); }
    QDateTime now() const override { return QDateTime::currentDateTimeUtc(); }
    std::unique_ptr<AppTimer> createTimer() override { return std::make_unique<QtTimer>(); }

private:
    QElapsedTimer m_elapsed;
};

} // namespace

std::unique_ptr<AppTimer> AppClock::after(qint64 delayMs, std::function<void()> callback)
{
    std::unique_ptr<AppTimer> timer = createTimer();
    timer->start(delayMs, false, std::move(callback));
    return timer;
}

AppClock *AppClock::system()
{
    static SystemClock clock;
    return &clock;
}
