#include "HostLimiter.h"

#include <QMetaObject>

HostLimiter::HostLimiter(int perHost)
    : m_perHost(perHost)
{
}

int HostLimiter::running(const QString &host) const
{
    const auto it = m_hosts.constFind(host);
    return it == m_hosts.constEnd() ? 0 : it->running;
}

void HostLimiter::release(const QString &host)
{
    auto it = m_hosts.find(host);
    if (it == m_hosts.end())
        return;
    if (it->waiting.empty()) {
        if (--it->running == 0)
            m_hosts.erase(it);
        return;
    }
    // The slot passes straight to the next waiter; it resumes from the event loop, not
    // from inside the releasing coroutine.
    const std::coroutine_handle<> next = it->waiting.front();
    it->waiting.pop_front();
    QMetaObject::invokeMethod(
        &m_context, [next] { next.resume(); }, Qt::QueuedConnection);
}

HostLimiter::Permit::Permit(HostLimiter *owner, QString host)
    : m_owner(owner)
    , m_host(std::move(host))
{
}

HostLimiter::Permit::Permit(Permit &&other) noexcept
    : m_owner(std::exchange(other.m_owner, nullptr))
    , m_host(std::move(other.m_host))
{
}

HostLimiter::Permit::~Permit()
{
    if (m_owner)
        m_owner->release(m_host);
}

HostLimiter::Acquire::Acquire(HostLimiter *owner, QString host)
    : m_owner(owner)
    , m_host(std::move(host))
{
}

bool HostLimiter::Acquire::await_ready()
{
    Host &host = m_owner->m_hosts[m_host];
    if (host.running >= m_owner->m_perHost)
        return false;
    ++host.running;
    return true;
}

void HostLimiter::Acquire::await_suspend(std::coroutine_handle<> waiter)
{
    m_owner->m_hosts[m_host].waiting.push_back(waiter);
}

HostLimiter::Permit HostLimiter::Acquire::await_resume()
{
    return Permit(m_owner, m_host);
}
