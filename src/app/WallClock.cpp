#include "WallClock.h"

#include "Formatters.h"
#include "Localization.h"
#include "Prefs.h"
#include "sources/AppClock.h"

#include <QLocale>

WallClock::WallClock(AppClock *clock, Prefs *prefs, QObject *parent)
    : QObject(parent)
    , m_prefs(prefs)
    , m_clock(clock)
    , m_timer(clock->createTimer())
    , m_now(clock->now().toLocalTime())
{
}

WallClock::~WallClock() = default;

QString WallClock::text() const
{
    const QString format = m_prefs ? m_prefs->timeFormat() : QString();
    return formatClock(m_now, activeLanguage(), uses24HourClock(format, QLocale::system()));
}

bool WallClock::ticking() const
{
    return m_timer->isActive();
}

void WallClock::start(qint64 periodMs)
{
    read();
    m_timer->start(periodMs, true, [this] { read(); });
}

void WallClock::stop()
{
    m_timer->stop();
}

void WallClock::read()
{
    const QString before = text();
    m_now = m_clock->now().toLocalTime();
    emit ticked();
    if (text() != before)
        emit textChanged();
}
