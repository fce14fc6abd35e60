#include "TapRule.h"

#include "sources/AppClock.h"
#include "sources/Registered.h"

#include <QGuiApplication>
#include <QStyleHints>

TapRule::TapRule(QObject *parent)
    : QObject(parent)
    , m_interval(QGuiApplication::styleHints()->mouseDoubleClickInterval())
    , m_clock(Registered<AppClock>::get())
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &TapRule::settle);
}

void TapRule::setDoubleEnabled(bool enabled)
{
    if (m_doubleEnabled == enabled)
        return;
    m_doubleEnabled = enabled;
    emit doubleEnabledChanged();
}

void TapRule::setInterval(int ms)
{
    if (m_interval == ms)
        return;
    m_interval = ms;
    emit intervalChanged();
}

void TapRule::click()
{
    const qint64 now = m_clock->nowMs();
    if (m_pendingSince) {
        if (m_doubleEnabled && now - *m_pendingSince <= m_interval) {
            m_timer.stop();
            setPending(std::nullopt);
            emit doubleTap();
            return;
        }
        // The interval has passed but the timer has not run yet: the earlier
        // click was a single tap of its own.
        settle();
    }
    if (!m_doubleEnabled) {
        emit singleTap();
        return;
    }
    setPending(now);
    m_timer.start(m_interval);
}

void TapRule::settle()
{
    m_timer.stop();
    if (!m_pendingSince)
        return;
    setPending(std::nullopt);
    emit singleTap();
}

void TapRule::setPending(std::optional<qint64> since)
{
    const bool was = pending();
    m_pendingSince = since;
    if (was != pending())
        emit pendingChanged();
}
