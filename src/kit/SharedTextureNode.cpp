#include "SharedTextureNode.h"

#include "SharedPicture.h"

#include <QHash>
#include <QMutex>
#include <QQuickWindow>
#include <QSGTexture>

namespace {

using Key = std::pair<const QQuickWindow *, QByteArray>;

QMutex lock;
QHash<Key, std::weak_ptr<QSGTexture>> shown;

// The texture of `key` while a node shows it; a new one made from `picture` otherwise.
std::shared_ptr<QSGTexture> textureOf(const Key &key, const std::function<QSGTexture *()> &picture)
{
    {
        const QMutexLocker locker(&lock);
        if (std::shared_ptr<QSGTexture> texture = shown.value(key).lock())
            return texture;
    }
    std::shared_ptr<QSGTexture> texture(picture(), [key](QSGTexture *gone) {
        delete gone;
        const QMutexLocker locker(&lock);
        const auto entry = shown.constFind(key);
        if (entry != shown.cend() && entry->expired())
            shown.erase(entry);
    });
    const QMutexLocker locker(&lock);
    shown.insert(key, texture);
    return texture;
}

} // namespace

SharedTextureNode::SharedTextureNode()
{
    setOwnsTexture(false);
    setFiltering(QSGTexture::Linear);
}

void SharedTextureNode::show(QQuickWindow *window, const QByteArray &look, const QRectF &area,
    const std::function<void(QPainter *)> &paintLook)
{
    const qreal ratio = window->effectiveDevicePixelRatio();
    const QSize pixels = area.size().toSize() * ratio;
    std::shared_ptr<QSGTexture> texture = textureOf(Key(window, lookOf(look, pixels, ratio)),
        [&] { return window->createTextureFromImage(sharedPicture(look, pixels, ratio, paintLook)); });
    setRect(area);
    if (texture == m_shown)
        return;
    setTexture(texture.get());
    m_shown = std::move(texture);
}
