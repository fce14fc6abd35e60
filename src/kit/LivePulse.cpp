#include "LivePulse.h"

#include "sources/AppClock.h"

LivePulse::LivePulse(QObject *parent)
    : LivePulse(AppClock::system(), parent)
{
}

LivePulse::LivePulse(AppClock *clock, QObject *parent)
    : StepAnimation(kStepMs, kLow, clock, parent)
{
}

qreal LivePulse::opacityAt(qint64 elapsedMs)
{
    const qint64 phase = elapsedMs % (2 * kFadeMs);
    const qreal t = qreal(phase < kFadeMs ? phase : 2 * kFadeMs - phase) / kFadeMs;
    const qreal eased = t < 0.5 ? 2 * t * t : 1 - (2 - 2 * t) * (2 - 2 * t) / 2;
    return kLow + (1 - kLow) * eased;
}
