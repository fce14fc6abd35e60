#include "SpinnerTurn.h"

#include "sources/AppClock.h"

SpinnerTurn::SpinnerTurn(QObject *parent) : SpinnerTurn(AppClock::system(), parent) {}

SpinnerTurn::SpinnerTurn(AppClock *clock, QObject *parent) : StepAnimation(kStepMs, clock, parent) {}

qreal SpinnerTurn::angleAt(qint64 elapsedMs)
{
    return qreal(elapsedMs % kTurnMs / kStepMs) * 360 / kSteps;
}

void SpinnerTurn::showAt(qint64 elapsedMs)
{
    const qreal angle = angleAt(elapsedMs);
    if (angle == m_angle)
        return;
    m_angle = angle;
    emit angleChanged();
}
