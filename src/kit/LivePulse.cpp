#include "LivePulse.h"

#include "sources/AppClock.h"

#include <QQuickWindow>

LivePulse::LivePulse(QObject *parent) : LivePulse(AppClock::system(), parent) {}

LivePulse::LivePulse(AppClock *clock, QObject *parent) : QObject(parent), m_clock(clock), m_timer(clock->createTimer()) {}

LivePulse::~LivePulse() = default;

void LivePulse::setItem(QQuickItem *item)
{
    if (item == m_item)
        return;
    if (m_item)
        m_item->disconnect(this);
    m_item = item;
    if (item) {
        connect(item, &QQuickItem::visibleChanged, this, &LivePulse::update);
        connect(item, &QQuickItem::windowChanged, this, [this](QQuickWindow *window) {
            watchWindow(window);
            update();
        });
        watchWindow(item->window());
    }
    emit itemChanged();
    update();
}

void LivePulse::watchWindow(QQuickWindow *window)
{
    disconnect(m_windowWatch);
    m_window = window;
    if (window)
        m_windowWatch = connect(window, &QWindow::visibilityChanged, this, &LivePulse::update);
}

qreal LivePulse::opacityAt(qint64 elapsedMs)
{
    const qint64 phase = elapsedMs % (2 * kFadeMs);
    const qreal t = qreal(phase < kFadeMs ? phase : 2 * kFadeMs - phase) / kFadeMs;
    const qreal eased = t < 0.5 ? 2 * t * t : 1 - (2 - 2 * t) * (2 - 2 * t) / 2;
    return kLow + (1 - kLow) * eased;
}

void LivePulse::update()
{
    const QWindow::Visibility visibility = m_window ? m_window->visibility() : QWindow::Hidden;
    const bool run = m_item && m_item->isVisible() && visibility != QWindow::Hidden && visibility != QWindow::Minimized;
    if (run == m_running)
        return;
    m_running = run;
    if (run) {
        m_startMs = m_clock->nowMs();
        m_timer->start(kStepMs, true, [this] { step(); });
    } else {
        // Starts low again next time; nobody sees the change meanwhile.
        m_timer->stop();
        setOpacity(kLow);
    }
    emit runningChanged();
}

void LivePulse::step()
{
    setOpacity(opacityAt(m_clock->nowMs() - m_startMs));
}

void LivePulse::setOpacity(qreal opacity)
{
    if (qFuzzyCompare(opacity, m_opacity))
        return;
    m_opacity = opacity;
    emit opacityChanged();
}
