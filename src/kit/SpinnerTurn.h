#pragma once

#include "StepAnimation.h"

// The turning of the loading ring: once every 0.9 s, in twelve steps of 30 degrees.
class SpinnerTurn : public StepAnimation {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(qreal angle READ angle NOTIFY angleChanged)

public:
    static constexpr qint64 kTurnMs = 900;
    static constexpr int kSteps = 12;
    static constexpr qint64 kStepMs = kTurnMs / kSteps;

    explicit SpinnerTurn(QObject *parent = nullptr);
    SpinnerTurn(AppClock *clock, QObject *parent = nullptr);

    qreal angle() const { return m_angle; }

    // The angle `elapsedMs` into the turning: whole steps only.
    static qreal angleAt(qint64 elapsedMs);

signals:
    void angleChanged();

private:
    void showAt(qint64 elapsedMs) override;

    qreal m_angle = 0;
};
