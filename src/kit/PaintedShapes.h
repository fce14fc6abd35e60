#pragma once

#include <QColor>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRectF>
#include <QVariantList>

// Helpers of the kit's painted items.

// A linear gradient through `colors`, evenly spaced, across `area`: from its leading edge
// to its trailing one, or from its top-leading corner to its bottom-trailing one when
// `diagonal`. The leading edge is the left one, or the right one when `mirrored`.
QLinearGradient gradientAcross(
    const QVariantList &colors, const QRectF &area, bool diagonal = false, bool mirrored = false);

// A rounded rectangle over `area`, or only the band `band` wide inside its edge when
// `band` is above 0. The radius and band are bounded by half the smaller side.
QPainterPath roundedShape(const QRectF &area, qreal radius, qreal band = 0);

// A radial gradient from `color` at `centre` to full transparency at `radius`.
QRadialGradient radialGlow(const QPointF &centre, qreal radius, const QColor &color);
