#pragma once

#include <QColor>
#include <QImage>
#include <QSize>

// A rounded rectangle of `shapeSize` and corner radius `radius`, filled with `color` and
// blurred by a Gaussian whose standard deviation is half of `blur` (a shadow's radius),
// on a transparent margin of shadowReach(blur) around it. Made once per look and size and
// shared afterwards; safe from any thread.
QImage blurredShape(const QColor &color, qreal blur, qreal radius, QSize shapeSize);

// How far past its shape a shadow of `blur` reaches: three standard deviations.
int shadowReach(qreal blur);
