#include "UiFrames.h"

#include <QEventLoop>
#include <QMutexLocker>
#include <QTimer>

#include <algorithm>
#include <ctime>

qint64 monotonicNs()
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

FrameClock::FrameClock(QQuickWindow *window)
    : m_window(window)
{
    // Direct: with the threaded render loop both come on the render thread, the first one
    // while the items are held still for the copy into the scene.
    connect(
        window, &QQuickWindow::beforeSynchronizing, this,
        [this] {
        const qint64 now = monotonicNs();
        const QMutexLocker lock(&m_mutex);
        m_syncs.push_back(now);
        if (m_shows && !m_showingSync && m_shows())
            m_showingSync = now;
        },
        Qt::DirectConnection);
    connect(
        window, &QQuickWindow::frameSwapped, this,
        [this] {
        const qint64 now = monotonicNs();
        std::function<void(qint64)> callback;
        {
            const QMutexLocker lock(&m_mutex);
            m_swaps.push_back(now);
            callback = m_onSwap;
        }
        if (callback)
            callback(now);
        },
        Qt::DirectConnection);
}

void FrameClock::onSwap(std::function<void(qint64)> callback)
{
    const QMutexLocker lock(&m_mutex);
    m_onSwap = std::move(callback);
}

void FrameClock::watchSyncs(std::function<bool()> shows)
{
    const QMutexLocker lock(&m_mutex);
    m_shows = std::move(shows);
    m_showingSync.reset();
}

std::optional<qint64> FrameClock::firstFrameShowing(int timeoutMs)
{
    std::optional<qint64> swap;
    waitUntil(
        [&] {
        if (m_window)
            m_window->update();
        std::optional<qint64> sync;
        {
            const QMutexLocker lock(&m_mutex);
            sync = m_showingSync;
        }
        return sync && (swap = swapAfter(*sync)).has_value();
        },
        timeoutMs);
    watchSyncs({});
    return swap;
}

std::optional<qint64> FrameClock::swapAfter(qint64 changeNs) const
{
    const QMutexLocker lock(&m_mutex);
    const auto sync = std::lower_bound(m_syncs.begin(), m_syncs.end(), changeNs);
    if (sync == m_syncs.end())
        return std::nullopt;
    const auto swap = std::lower_bound(m_swaps.begin(), m_swaps.end(), *sync);
    if (swap == m_swaps.end())
        return std::nullopt;
    return *swap;
}

std::optional<qint64> FrameClock::frameAfter(qint64 changeNs, int timeoutMs)
{
    // A change that alters nothing on screen still gets its frame.
    if (m_window)
        m_window->update();
    std::optional<qint64> swap;
    waitUntil([&] { return (swap = swapAfter(changeNs)).has_value(); }, timeoutMs);
    return swap;
}

bool FrameClock::waitForQuiet(int quietMs, int timeoutMs)
{
    return waitUntil(
        [&] {
        const QMutexLocker lock(&m_mutex);
        return m_swaps.empty() || monotonicNs() - m_swaps.back() > qint64(quietMs) * 1'000'000;
        },
        timeoutMs);
}

int FrameClock::framesBetween(qint64 fromNs, qint64 toNs) const
{
    const QMutexLocker lock(&m_mutex);
    return int(
        std::count_if(m_swaps.begin(), m_swaps.end(), [&](qint64 at) { return at >= fromNs && at < toNs; }));
}

bool waitUntil(const std::function<bool()> &done, int timeoutMs)
{
    if (done())
        return true;
    QEventLoop loop;
    QTimer poll;
    bool met = false;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done()) {
            met = true;
            loop.quit();
        }
    });
    poll.start(1);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    return met;
}

void runFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

QList<QQuickItem *> itemsBelow(QQuickItem *root)
{
    QList<QQuickItem *> items;
    if (!root)
        return items;
    for (QQuickItem *child : root->childItems()) {
        items.append(child);
        items.append(itemsBelow(child));
    }
    return items;
}

QQuickItem *itemNamed(QQuickItem *root, const QString &name)
{
    for (QQuickItem *item : itemsBelow(root)) {
        if (item->objectName() == name)
            return item;
    }
    return nullptr;
}
