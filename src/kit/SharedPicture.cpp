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

QImage picture(const QPainter *painter, const std::function<void(QPainter *)> &paintLook)
{
    const QPaintDevice *device = painter->device();
    QImage image(device->width(), device->height(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(device->devicePixelRatio());
    image.fill(Qt::transparent);
    QPainter own(&image);
    own.setRenderHints(painter->renderHints());
    own.setTransform(painter->transform());
    paintLook(&own);
    return image;
}

} // namespace

void paintShared(QPainter *painter, const QByteArray &look, const std::function<void(QPainter *)> &paintLook)
{
    const QByteArray key = keyFor(painter, look);
    QImage image;
    {
        const QMutexLocker locker(&lock);
        if (const QImage *kept = cache.object(key))
            image = *kept;
    }
    if (image.isNull()) {
        image = picture(painter, paintLook);
        const QMutexLocker locker(&lock);
        cache.insert(key, new QImage(image), qMax<qsizetype>(1, image.sizeInBytes()));
    }
    painter->save();
    painter->resetTransform();
    painter->drawImage(QPointF(0, 0), image);
    painter->restore();
}
