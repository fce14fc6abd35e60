#include "StepAnimation.h"

#include "sources/AppClock.h"

#include <QQuickWindow>

StepAnimation::StepAnimation(qint64 stepMs, qreal startValue, AppClock *clock, QObject *parent)
    : QObject(parent)
    , m_stepMs(stepMs)
    , m_clock(clock)
    , m_timer(clock->createTimer())
    , m_value(startValue)
{
}

StepAnimation::~StepAnimation() = default;

void StepAnimation::setItem(QQuickItem *item)
{
    if (item == m_item)
        return;
    if (m_item)
        m_item->disconnect(this);
    m_item = item;
    if (item) {
        connect(item, &QQuickItem::visibleChanged, this, &StepAnimation::update);
        connect(item, &QQuickItem::windowChanged, this, [this](QQuickWindow *window) {
            watchWindow(window);
            update();
        });
        watchWindow(item->window());
    }
    emit itemChanged();
    update();
}

void StepAnimation::watchWindow(QQuickWindow *window)
{
    disconnect(m_windowWatch);
    m_window = window;
    if (window)
        m_windowWatch = connect(window, &QWindow::visibilityChanged, this, &StepAnimation::update);
}

void StepAnimation::update()
{
    const QWindow::Visibility visibility = m_window ? m_window->visibility() : QWindow::Hidden;
    const bool run = m_item && m_item->isVisible() && visibility != QWindow::Hidden
        && visibility != QWindow::Minimized;
    if (run == m_running)
        return;
    m_running = run;
    if (run) {
        m_startMs = m_clock->nowMs();
        m_timer->start(m_stepMs, true, [this] { showAt(m_clock->nowMs() - m_startMs); });
    } else {
        // Starts from the beginning next time; nobody sees the change meanwhile.
        m_timer->stop();
        showAt(0);
    }
    emit runningChanged();
}

void StepAnimation::showAt(qint64 elapsedMs)
{
    const qreal value = valueAt(elapsedMs);
    if (value == m_value)
        return;
    m_value = value;
    emit valueChanged();
}
