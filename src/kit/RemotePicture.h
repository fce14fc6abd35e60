#pragma once

#include "ImageStore.h"

#include <QImage>
#include <QPointer>
#include <QPropertyAnimation>
#include <QQuickItem>
#include <QString>
#include <QtQml/qqmlregistration.h>

#include <QCoroTask>

// Draws the picture at `url`, loaded through an ImageStore, filling its frame
// (cropped) or fitted inside it (letter-boxed). Draws nothing (opacity 0) until a
// picture is there; one that arrives from the network fades in over 0.2 s. A new address
// cancels the load under way; the old result never shows. With a `radius` the picture's
// corners are rounded to the item's rounded rectangle. The picture is decoded at the size
// the item shows it; an item grown past that gets a sharper one.
class RemotePicture : public QQuickItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString url READ url WRITE setUrl NOTIFY urlChanged)
    Q_PROPERTY(bool fill READ fill WRITE setFill NOTIFY fillChanged)
    Q_PROPERTY(qreal radius READ radius WRITE setRadius NOTIFY radiusChanged)
    Q_PROPERTY(bool ready READ ready NOTIFY readyChanged)
    Q_PROPERTY(bool done READ done NOTIFY doneChanged)
    Q_PROPERTY(bool fades READ fades NOTIFY fadesChanged)

public:
    // The longer side, in pixels, of a picture for an item not laid out yet.
    static constexpr int kUnsizedSide = 1024;

    struct Placement {
        QRectF target; // where the picture is drawn, in item coordinates
        QRectF source; // which part of the picture is drawn
    };

    explicit RemotePicture(QQuickItem *parent = nullptr);

    QString url() const { return m_url; }
    void setUrl(const QString &url);
    bool fill() const { return m_fill; }
    void setFill(bool fill);
    qreal radius() const { return m_radius; }
    void setRadius(qreal radius);
    // A picture is shown.
    bool ready() const { return !m_image.isNull(); }
    // A load has finished, or there was nothing to load; stays true afterwards.
    bool done() const { return m_done; }
    // The picture shown came from a load rather than from the memory cache.
    bool fades() const { return m_fades; }
    QImage image() const { return m_image; }

    // Up to two initials of a title for the placeholder; "TV" when there are none.
    Q_INVOKABLE static QString initials(const QString &title);
    static Placement placement(const QSizeF &picture, const QSizeF &frame, bool fill);

signals:
    void urlChanged();
    void fillChanged();
    void radiusChanged();
    void readyChanged();
    void doneChanged();
    void fadesChanged();

protected:
    void componentComplete() override;
    QSGNode *updatePaintNode(QSGNode *old, UpdatePaintNodeData *data) override;
    void geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry) override;

private:
    void reload();
    QCoro::Task<> load(QString address, QObject *ticket);
    // The size the picture is shown at, in device pixels.
    ImageStore::Shown shown() const;
    // Loads the picture again when the item shows it larger than it was decoded.
    void sharpen();
    void show(const QImage &image, bool fades);
    void finish();
    // What the texture holds: the picture, or its placed part with rounded corners.
    QImage textureImage(const Placement &place) const;

    QString m_url;
    bool m_fill = false;
    qreal m_radius = 0;
    bool m_done = false;
    bool m_fades = false;
    bool m_textureDirty = false;
    QImage m_image;
    // The store the program registered.
    ImageStore *m_store;
    QPropertyAnimation *m_fadeIn = nullptr;
    // Lives as long as the load under way; deleting it cancels that load.
    QObject *m_ticket = nullptr;
};
