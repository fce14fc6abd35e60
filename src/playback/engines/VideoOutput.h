#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QSize>
#include <QVideoFrame>
#include <QVideoSink>

// Hands the frames of one engine to the video sinks that show them.
class VideoOutput : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    void addSink(QVideoSink *sink);
    void removeSink(QVideoSink *sink);
    bool hasSink(const QVideoSink *sink) const;
    int sinkCount() const;
    // Main thread only.
    void present(const QVideoFrame &frame);

signals:
    void sinksChanged();

private:
    void prune();

    QList<QPointer<QVideoSink>> m_sinks;
};

// The one libVLC drawing target: at most one hosting surface at a time, and
// the size of that surface for the picture mode.
class VlcView : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    VideoOutput *output() { return &m_output; }
    // Moves the view into a surface, leaving any other.
    void host(QVideoSink *sink, QSizeF bounds);
    void release(QVideoSink *sink);
    bool isHostedBy(const QVideoSink *sink) const;
    void setBounds(QSizeF bounds);
    QSizeF bounds() const { return m_bounds; }

private:
    VideoOutput m_output;
    QPointer<QVideoSink> m_host;
    QSizeF m_bounds;
};
