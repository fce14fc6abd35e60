#include "ManualClock.h"

#include <algorithm>

class ManualClock::Timer final : public AppTimer {
public:
    explicit Timer(const std::shared_ptr<State> &state)
        : m_state(state)
        , m_id(state->nextId++)
    {
        state->timers.emplace(m_id, Slot {});
    }
    ~Timer() override
    {
        if (const auto state = m_state.lock())
            state->timers.erase(m_id);
    }

    void start(qint64 intervalMs, bool repeating, std::function<void()> callback) override
    {
        if (const auto state = m_state.lock()) {
            const qint64 interval = std::max<qint64>(0, intervalMs);
            state->timers[m_id]
                = Slot { interval, state->now + interval, repeating, true, std::move(callback) };
        }
    }
    void stop() override
    {
        if (const auto state = m_state.lock())
            state->timers[m_id].active = false;
    }
    bool isActive() const override
    {
        const auto state = m_state.lock();
        return state && state->timers.at(m_id).active;
    }

private:
    std::weak_ptr<State> m_state;
    quint64 m_id;
};

ManualClock::ManualClock(const QDateTime &now)
    : m_state(std::make_shared<State>())
    , m_wallAtZero(now.toUTC())
{
}

ManualClock::~ManualClock() = default;

qint64 ManualClock::nowMs() const
{
    return m_state->now;
}

QDateTime ManualClock::now() const
{
    return m_wallAtZero.addMSecs(m_state->now);
}

void ManualClock::setNow(const QDateTime &now)
{
    m_wallAtZero = now.toUTC().addMSecs(-m_state->now);
}

std::unique_ptr<AppTimer> ManualClock::createTimer()
{
    return std::make_unique<Timer>(m_state);
}

void ManualClock::advance(qint64 ms)
{
    const qint64 target = m_state->now + ms;
    for (;;) {
        auto next = m_state->timers.end();
        for (auto it = m_state->timers.begin(); it != m_state->timers.end(); ++it) {
            if (it->second.active && it->second.due <= target
                && (next == m_state->timers.end() || it->second.due < next->second.due))
                next = it;
        }
        if (next == m_state->timers.end())
            break;
        Slot &slot = next->second;
        m_state->now = slot.due;
        if (slot.repeating)
            slot.due += std::max<qint64>(slot.interval, 1);
        else
            slot.active = false;
        // A copy runs, so the callback may restart or drop its timer.
        const std::function<void()> callback = slot.callback;
        callback();
    }
    m_state->now = target;
}

int ManualClock::pending() const
{
    return int(std::count_if(m_state->timers.begin(), m_state->timers.end(),
        [](const auto &entry) { return entry.second.active; }));
}
