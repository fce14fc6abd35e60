#include "LivePulse.h"

#include "sources/AppClock.h"

LivePulse::LivePulse(QObject *parent) : LivePulse(AppClock::system(), parent) {}

LivePulse::LivePulse(AppClock *clock, QObject *parent) : StepAnimation(kStepMs, clock, parent) {}

qreal LivePulse::opacityAt(qint64 elapsedMs)
{
    const qint64 phase = elapsedMs % (2 * kFadeMs);
    const qreal t = qreal(phase < kFadeMs ? phase : 2 * kFadeMs - phase) / kFadeMs;
    const qreal eased = t < 0.5 ? 2 * t * t : 1 - (2 - 2 * t) * (2 - 2 * t) / 2;
    return kLow + (1 - kLow) * eased;
}

void LivePulse::showAt(qint64 elapsedMs)
{
    const qreal opacity = opacityAt(elapsedMs);
    if (qFuzzyCompare(opacity, m_opacity))
        return;
    m_opacity = opacity;
    emit opacityChanged();
}
