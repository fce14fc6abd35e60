#include "RemotePicture.h"

#include "Initials.h"
#include "sources/Registered.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QQuickWindow>
#include <QSGImageNode>
#include <QtMath>

#include <utility>

RemotePicture::RemotePicture(QQuickItem *parent)
    : QQuickItem(parent)
    , m_store(Registered<ImageStore>::get())
{
    setFlag(ItemHasContents, true);
    setOpacity(0);
}

void RemotePicture::setUrl(const QString &url)
{
    if (url == m_url)
        return;
    m_url = url;
    emit urlChanged();
    if (isComponentComplete())
        reload();
}

void RemotePicture::setFill(bool fill)
{
    if (fill == m_fill)
        return;
    m_fill = fill;
    emit fillChanged();
    update();
    sharpen();
}

void RemotePicture::setRadius(qreal radius)
{
    if (std::exchange(m_radius, radius) == radius)
        return;
    m_textureDirty = true;
    emit radiusChanged();
    update();
}

void RemotePicture::geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry)
{
    QQuickItem::geometryChange(newGeometry, oldGeometry);
    if (newGeometry.width() > oldGeometry.width() || newGeometry.height() > oldGeometry.height())
        sharpen();
    if (m_radius > 0 && newGeometry.size() != oldGeometry.size()) {
        m_textureDirty = true;
        update();
    }
}

QString RemotePicture::initials(const QString &title)
{
    return titleInitials(title);
}

RemotePicture::Placement RemotePicture::placement(const QSizeF &picture, const QSizeF &frame, bool fill)
{
    if (picture.isEmpty() || frame.isEmpty())
        return {};
    const QRectF whole(QPointF(0, 0), picture);
    if (fill) {
        const QSizeF shown = frame.scaled(picture, Qt::KeepAspectRatio);
        const QPointF corner((picture.width() - shown.width()) / 2, (picture.height() - shown.height()) / 2);
        return { QRectF(QPointF(0, 0), frame), QRectF(corner, shown) };
    }
    const QSizeF shown = picture.scaled(frame, Qt::KeepAspectRatio);
    const QPointF corner((frame.width() - shown.width()) / 2, (frame.height() - shown.height()) / 2);
    return { QRectF(corner, shown), whole };
}

void RemotePicture::componentComplete()
{
    QQuickItem::componentComplete();
    reload();
}

void RemotePicture::reload()
{
    delete m_ticket;
    m_ticket = nullptr;
    if (m_url.isEmpty()) {
        show(QImage(), false);
        finish();
        return;
    }
    if (const QImage hit = m_store->cached(m_url, shown()); !hit.isNull()) {
        show(hit, false);
        finish();
        return;
    }
    show(QImage(), false);
    m_ticket = new QObject(this);
    load(m_url, m_ticket);
}

QCoro::Task<> RemotePicture::load(QString address, QObject *ticket)
{
    const QPointer<QObject> current(ticket);
    // The store asks for the size only while the ticket, a child of this item, lives.
    const QImage picture = co_await m_store->image(address, ticket, [this] { return shown(); });
    // The ticket is a child of this item: while it lives, so does the item.
    if (!current)
        co_return;
    m_ticket = nullptr;
    ticket->deleteLater();
    if (!ready()) {
        show(picture, true);
        finish();
    } else if (!picture.isNull()) {
        m_image = picture;
        m_textureDirty = true;
        update();
    }
    if (!picture.isNull())
        sharpen();
}

ImageStore::Shown RemotePicture::shown() const
{
    const qreal scale = window() ? window()->effectiveDevicePixelRatio() : qGuiApp->devicePixelRatio();
    const QSize frame(qCeil(width() * scale), qCeil(height() * scale));
    if (frame.isEmpty())
        return { QSize(kUnsizedSide, kUnsizedSide), false };
    return { frame, m_fill };
}

void RemotePicture::sharpen()
{
    if (!ready() || m_ticket || !isComponentComplete())
        return;
    const ImageStore::Shown now = shown();
    if (const QImage kept = m_store->cached(m_url, now); !kept.isNull()) {
        if (kept.size() != m_image.size()) {
            m_image = kept;
            m_textureDirty = true;
            update();
        }
        return;
    }
    // The picture shown stays until the sharper one is there.
    m_ticket = new QObject(this);
    load(m_url, m_ticket);
}

void RemotePicture::show(const QImage &image, bool fades)
{
    const bool wasReady = ready();
    m_image = image;
    m_textureDirty = true;
    if (std::exchange(m_fades, fades && !image.isNull()) != m_fades)
        emit fadesChanged();
    if (wasReady != ready())
        emit readyChanged();
    if (m_fadeIn)
        m_fadeIn->stop();
    if (m_fades) {
        if (!m_fadeIn) {
            m_fadeIn = new QPropertyAnimation(this, "opacity", this);
            m_fadeIn->setDuration(200);
            m_fadeIn->setEasingCurve(QEasingCurve::OutQuad);
            m_fadeIn->setEndValue(1.0);
        }
        m_fadeIn->setStartValue(0.0);
        m_fadeIn->start();
    } else {
        setOpacity(ready() ? 1 : 0);
    }
    update();
}

void RemotePicture::finish()
{
    if (!std::exchange(m_done, true))
        emit doneChanged();
}

QSGNode *RemotePicture::updatePaintNode(QSGNode *old, UpdatePaintNodeData *)
{
    const Placement place = placement(m_image.size(), size(), m_fill);
    if (m_image.isNull() || place.target.isEmpty()) {
        delete old;
        return nullptr;
    }
    auto *node = static_cast<QSGImageNode *>(old);
    if (!node) {
        node = window()->createImageNode();
        node->setOwnsTexture(true);
        node->setFiltering(QSGTexture::Linear);
        node->setMipmapFiltering(QSGTexture::Linear);
        m_textureDirty = true;
    }
    if (m_textureDirty) {
        node->setTexture(
            window()->createTextureFromImage(textureImage(place), QQuickWindow::TextureHasMipmaps));
        m_textureDirty = false;
    }
    node->setRect(place.target);
    node->setSourceRect(m_radius > 0 ? QRectF(QPointF(0, 0), node->texture()->textureSize()) : place.source);
    return node;
}

QImage RemotePicture::textureImage(const Placement &place) const
{
    if (m_radius <= 0)
        return m_image;
    const qreal scale = window()->effectiveDevicePixelRatio();
    QImage rounded((place.target.size() * scale).toSize(), QImage::Format_ARGB32_Premultiplied);
    rounded.fill(Qt::transparent);
    QPainter painter(&rounded);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    painter.scale(scale, scale);
    painter.translate(-place.target.topLeft());
    QPainterPath frame;
    frame.addRoundedRect(QRectF(QPointF(0, 0), size()), m_radius, m_radius);
    painter.setClipPath(frame);
    painter.drawImage(place.target, m_image, place.source);
    return rounded;
}
