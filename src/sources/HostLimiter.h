#pragma once

#include <QHash>
#include <QObject>
#include <QString>

#include <coroutine>
#include <deque>

// Lets a fixed number of requests run at once per host; later ones wait in arrival order.
class HostLimiter {
public:
    explicit HostLimiter(int perHost);
    HostLimiter(const HostLimiter &) = delete;
    HostLimiter &operator=(const HostLimiter &) = delete;

    // Held while a request runs; handing it back lets the next waiter of the host run.
    class Permit {
    public:
        Permit(HostLimiter *owner, QString host);
        Permit(Permit &&other) noexcept;
        Permit &operator=(Permit &&) = delete;
        ~Permit();

    private:
        HostLimiter *m_owner;
        QString m_host;
    };

    class Acquire {
    public:
        Acquire(HostLimiter *owner, QString host);
        bool await_ready();
        void await_suspend(std::coroutine_handle<> waiter);
        Permit await_resume();

    private:
        HostLimiter *m_owner;
        QString m_host;
    };

    // co_await acquire(host) gives a Permit once fewer than perHost requests run for host.
    Acquire acquire(const QString &host) { return Acquire(this, host); }
    int running(const QString &host) const;

private:
    struct Host {
        int running = 0;
        std::deque<std::coroutine_handle<>> waiting;
    };

    void release(const QString &host);

    int m_perHost;
    QHash<QString, Host> m_hosts;
    QObject m_context;
};
