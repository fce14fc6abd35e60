#include "ManualClock.h"

class ManualClock::Handle final : public AppTimer {
public:
    Handle(std::weak_ptr<State> state, quint64 id)
        : m_state(std::move(state))
        , m_id(id)
    {
    }
    ~Handle() override
    {
        if (const auto state = m_state.lock())
            state->pending.erase(m_id);
    }

private:
    std::weak_ptr<State> m_state;
    quint64 m_id;
};

ManualClock::ManualClock()
    : m_state(std::make_shared<State>())
{
}

ManualClock::~ManualClock() = default;

qint64 ManualClock::nowMs() const
{
    return m_state->now;
}

std::unique_ptr<AppTimer> ManualClock::after(qint64 delayMs, std::function<void()> callback)
{
    const quint64 id = m_state->nextId++;
    m_state->pending.emplace(id, Pending { m_state->now + qMax<qint64>(0, delayMs), std::move(callback) });
    return std::make_unique<Handle>(m_state, id);
}

void ManualClock::advance(qint64 ms)
{
    const qint64 target = m_state->now + ms;
    for (;;) {
        auto next = m_state->pending.end();
        for (auto it = m_state->pending.begin(); it != m_state->pending.end(); ++it) {
            if (it->second.due <= target
                && (next == m_state->pending.end() || it->second.due < next->second.due))
                next = it;
        }
        if (next == m_state->pending.end())
            break;
        m_state->now = next->second.due;
        const std::function<void()> callback = std::move(next->second.callback);
        m_state->pending.erase(next);
        callback();
    }
    m_state->now = target;
}

int ManualClock::pending() const
{
    return int(m_state->pending.size());
}
