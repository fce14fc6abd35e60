#pragma once

#include <QFutureWatcher>
#include <QImage>
#include <QPointer>
#include <QQuickItem>
#include <QVideoFrame>
#include <QVideoSink>
#include <QtQml/qqmlregistration.h>

// Draws the frames of a video sink as an image while the window renders in software,
// where a VideoOutput draws nothing. Copies one frame at a time off the UI thread and
// keeps only the latest frame that arrived meanwhile. Inert under the other renderers.
class SoftwareVideoPicture : public QQuickItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QVideoSink *videoSink READ videoSink WRITE setVideoSink NOTIFY videoSinkChanged)
    // A Qt::AspectRatioMode, as a VideoOutput's fill mode.
    Q_PROPERTY(int fillMode READ fillMode WRITE setFillMode NOTIFY fillModeChanged)

public:
    explicit SoftwareVideoPicture(QQuickItem *parent = nullptr);

    QVideoSink *videoSink() const { return m_sink; }
    void setVideoSink(QVideoSink *sink);
    int fillMode() const { return m_fillMode; }
    void setFillMode(int mode);

    // Where an image of `picture` pixels is drawn in `area`, and which part of it.
    struct Placement {
        QRectF target;
        QRectF source;
    };
    static Placement place(Qt::AspectRatioMode mode, QSizeF area, QSize picture);

signals:
    void videoSinkChanged();
    void fillModeChanged();

protected:
    void itemChange(ItemChange change, const ItemChangeData &data) override;
    QSGNode *updatePaintNode(QSGNode *old, UpdatePaintNodeData *) override;

private:
    void connectSink();
    void takeFrame(const QVideoFrame &frame);
    void convertPending();
    static QImage imageOf(QVideoFrame frame);
    void takeImage();
    void clear();

    QPointer<QVideoSink> m_sink;
    int m_fillMode = Qt::IgnoreAspectRatio;
    bool m_drawsInSoftware = false;
    QVideoFrame m_pending;
    QFutureWatcher<QImage> m_conversion;
    // Until the watcher reports: its future may end before the report arrives.
    bool m_converting = false;
    // Bumped when the picture is cleared: a conversion started before then is dropped.
    quint64 m_generation = 0;
    quint64 m_convertingGeneration = 0;
    QImage m_image;
    bool m_imageChanged = false;
};
