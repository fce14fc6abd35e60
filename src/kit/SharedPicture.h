#pragma once

#include <QByteArray>
#include <QDataStream>
#include <QIODevice>
#include <functional>

class QImage;
class QPainter;
class QSize;

// Paints what `paintLook` draws through a picture shared by every item of the same `look`,
// so many rows that look alike are painted once. `look` names all that `paintLook` reads;
// the painter's device size, pixel ratio, transform and hints are added to it here. Safe
// from any thread.
void paintShared(QPainter *painter, const QByteArray &look, const std::function<void(QPainter *)> &paintLook);

// The picture of `look`, `pixels` large at `ratio` device pixels to a point, that
// `paintLook` paints smooth in points the first time; kept for every item of the same
// look. Safe from any thread.
QImage sharedPicture(const QByteArray &look, const QSize &pixels, qreal ratio,
    const std::function<void(QPainter *)> &paintLook);

// A look named by the values that make it, the first naming the kind of item.
template <typename... Values> QByteArray lookOf(const Values &...values)
{
    QByteArray look;
    QDataStream stream(&look, QIODevice::WriteOnly);
    (stream << ... << values);
    return look;
}
