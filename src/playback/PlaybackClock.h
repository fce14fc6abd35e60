#pragma once

#include <QtGlobal>

#include <functional>
#include <memory>

// A one-shot or repeating timer of a PlaybackClock; stops when destroyed.
class PlaybackTimer
{
public:
    virtual ~PlaybackTimer() = default;
    virtual void start(qint64 intervalMs, bool repeating, std::function<void()> callback) = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
};

// Time source of the engine, replaced by a virtual clock in tests.
class PlaybackClock
{
public:
    virtual ~PlaybackClock() = default;
    virtual qint64 nowMs() const = 0;
    virtual std::unique_ptr<PlaybackTimer> createTimer() = 0;
};

// The monotonic clock and Qt timers of the main thread.
class SystemPlaybackClock final : public PlaybackClock
{
public:
    SystemPlaybackClock();
    qint64 nowMs() const override;
    std::unique_ptr<PlaybackTimer> createTimer() override;

private:
    qint64 m_origin = 0;
};
