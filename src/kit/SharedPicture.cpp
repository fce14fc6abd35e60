#include "SharedPicture.h"

#include <QCache>
#include <QDataStream>
#include <QImage>
#include <QMutex>
#include <QPainter>

namespace {

// Bytes of shared pictures kept for reuse.
constexpr qsizetype kCacheBytes = 4 * 1024 * 1024;

QMutex lock;
QCache<QByteArray, QImage> cache(kCacheBytes);

QByteArray keyFor(const QPainter *painter, const QByteArray &look)
{
    QByteArray key;
    QDataStream stream(&key, QIODevice::WriteOnly);
    const QPaintDevice *device = painter->device();
    stream << look << device->width() << device->height() << device->devicePixelRatio()
           << painter->transform() << int(painter->renderHints());
    return key;
}

// The picture kept for `key`, made by `make` when there is none.
QImage kept(const QByteArray &key, const std::function<QImage()> &make)
{
    {
        const QMutexLocker locker(&lock);
        if (const QImage *image = cache.object(key))
            return *image;
    }
    QImage image = make();
    const QMutexLocker locker(&lock);
    cache.insert(key, new QImage(image), qMax<qsizetype>(1, image.sizeInBytes()));
    return image;
}

QImage blank(const QSize &pixels, qreal ratio)
{
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    return image;
}

} // namespace

void paintShared(QPainter *painter, const QByteArray &look, const std::function<void(QPainter *)> &paintLook)
{
    const QImage image = kept(keyFor(painter, look), [&] {
        const QPaintDevice *device = painter->device();
        QImage image = blank(QSize(device->width(), device->height()), device->devicePixelRatio());
        {
            QPainter own(&image);
            own.setRenderHints(painter->renderHints());
            own.setTransform(painter->transform());
            paintLook(&own);
        }
        return image;
    });
    painter->save();
    painter->resetTransform();
    painter->drawImage(QPointF(0, 0), image);
    painter->restore();
}

QImage sharedPicture(const QByteArray &look, const QSize &pixels, qreal ratio,
    const std::function<void(QPainter *)> &paintLook)
{
    return kept(lookOf(look, pixels, ratio), [&] {
        QImage image = blank(pixels, ratio);
        {
            QPainter own(&image);
            own.setRenderHints(
                QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
            paintLook(&own);
        }
        return image;
    });
}
