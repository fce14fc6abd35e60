#pragma once

#include "StepAnimation.h"

// The turning of the loading ring: its angle (`value`) goes round once every 0.9 s, in
// twelve steps of 30 degrees.
class SpinnerTurn : public StepAnimation {
    Q_OBJECT
    QML_ELEMENT

public:
    static constexpr qint64 kTurnMs = 900;
    static constexpr int kSteps = 12;
    static constexpr qint64 kStepMs = kTurnMs / kSteps;

    explicit SpinnerTurn(QObject *parent = nullptr);
    SpinnerTurn(AppClock *clock, QObject *parent = nullptr);

    // The angle `elapsedMs` into the turning: whole steps only.
    static qreal angleAt(qint64 elapsedMs);

private:
    qreal valueAt(qint64 elapsedMs) const override { return angleAt(elapsedMs); }
};
