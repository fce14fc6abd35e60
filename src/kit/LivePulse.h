#pragma once

#include "StepAnimation.h"

// The live badge's dot: its opacity (`value`) fades from 0.35 to 1 and back, 0.9 s each way
// (ease in and out), in steps.
class LivePulse : public StepAnimation {
    Q_OBJECT
    QML_ELEMENT

public:
    static constexpr qint64 kFadeMs = 900;
    static constexpr qint64 kStepMs = 300;
    static constexpr qreal kLow = 0.35;

    explicit LivePulse(QObject *parent = nullptr);
    LivePulse(AppClock *clock, QObject *parent = nullptr);

    // The opacity `elapsedMs` into the pulse.
    static qreal opacityAt(qint64 elapsedMs);

private:
    qreal valueAt(qint64 elapsedMs) const override { return opacityAt(elapsedMs); }
};
