#include "PlaybackClock.h"

#include <QElapsedTimer>
#include <QTimer>

namespace {

class QtPlaybackTimer final : public PlaybackTimer
{
public:
    QtPlaybackTimer()
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            auto callback = m_callback;  // the callback may restart or destroy this timer
            if (callback)
                callback();
        });
    }

    void start(qint64 intervalMs, bool repeating, std::function<void()> callback) override
    {
        m_callback = std::move(callback);
        m_timer.setSingleShot(!repeating);
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.start(static_cast<int>(intervalMs));
    }

    void stop() override { m_timer.stop(); }
    bool isActive() const override { return m_timer.isActive(); }

private:
    QTimer m_timer;
    std::function<void()> m_callback;
};

qint64 monotonicMs()
{
    QElapsedTimer timer;
    timer.start();
    return timer.msecsSinceReference();
}

}

SystemPlaybackClock::SystemPlaybackClock() : m_origin(monotonicMs()) {}

qint64 SystemPlaybackClock::nowMs() const
{
    return monotonicMs() - m_origin;
}

std::unique_ptr<PlaybackTimer> SystemPlaybackClock::createTimer()
{
    return std::make_unique<QtPlaybackTimer>();
}
