#include "SpinnerTurn.h"

#include "sources/AppClock.h"

SpinnerTurn::SpinnerTurn(QObject *parent)
    : SpinnerTurn(AppClock::system(), parent)
{
}

SpinnerTurn::SpinnerTurn(AppClock *clock, QObject *parent)
    : StepAnimation(kStepMs, 0, clock, parent)
{
}

qreal SpinnerTurn::angleAt(qint64 elapsedMs)
{
    return qreal(elapsedMs % kTurnMs / kStepMs) * 360 / kSteps;
}
