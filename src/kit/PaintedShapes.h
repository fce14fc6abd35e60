#pragma once

#include <QColor>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRectF>
#include <QVariantList>

// Helpers of the kit's painted items.

// A linear gradient through `colors`, evenly spaced, across `area`: from its left edge to
// its right one, or from its top-left corner to its bottom-right one when `diagonal`.
QLinearGradient gradientAcross(const QVariantList &colors, const QRectF &area, bool diagonal = false);

// A rounded rectangle over `area`, or only the band `band` wide inside its edge when
// `band` is above 0. The radius and band are bounded by half the smaller side.
QPainterPath roundedShape(const QRectF &area, qreal radius, qreal band = 0);

// A radial gradient from `color` at `centre` to full transparency at `radius`.
QRadialGradient radialGlow(const QPointF &centre, qreal radius, const QColor &color);
