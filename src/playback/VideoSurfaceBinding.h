#pragma once

#include "app/PictureMode.h"

#include <QObject>
#include <QPointer>
#include <QRectF>
#include <QSizeF>
#include <QVideoSink>
#include <QtQml/qqmlregistration.h>

class PlayerEngine;

// Connects one video surface to the engine: the platform picture always, the
// libVLC picture only while the surface hosts it and the engine uses libVLC. Places the
// platform picture for the picture mode; a mode change moves it from where it stood as
// `modeProgress` runs from 0 to 1 (the view animates it).
class VideoSurfaceBinding : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(PlayerEngine *engine READ engine WRITE setEngine NOTIFY engineChanged)
    Q_PROPERTY(QVideoSink *platformSink READ platformSink WRITE setPlatformSink NOTIFY platformSinkChanged)
    Q_PROPERTY(QVideoSink *vlcSink READ vlcSink WRITE setVlcSink NOTIFY vlcSinkChanged)
    Q_PROPERTY(bool hostsVLC READ hostsVLC WRITE setHostsVLC NOTIFY showsVLCChanged)
    Q_PROPERTY(bool usesVLC READ usesVLC WRITE setUsesVLC NOTIFY showsVLCChanged)
    Q_PROPERTY(bool showsVLC READ showsVLC NOTIFY showsVLCChanged)
    Q_PROPERTY(QSizeF size READ size WRITE setSize NOTIFY sizeChanged)
    Q_PROPERTY(int aspectMode READ aspectMode WRITE setAspectMode NOTIFY aspectModeChanged)
    Q_PROPERTY(int fillMode READ fillMode NOTIFY aspectModeChanged)
    Q_PROPERTY(QRectF platformRect READ platformRect NOTIFY platformRectChanged)
    Q_PROPERTY(qreal modeProgress READ modeProgress WRITE setModeProgress NOTIFY platformRectChanged)

public:
    using QObject::QObject;
    ~VideoSurfaceBinding() override;

    // The picture mode as a VideoOutput fill mode (stretch, fit, crop).
    static int fillModeFor(PictureMode mode);
    // Where a picture of `video` pixels lies in `area` in a picture mode: the whole area
    // (stretch), inside it (fit) or over it (zoom), centred.
    static QRectF pictureRect(PictureMode mode, QSizeF area, QSize video);

    PlayerEngine *engine() const { return m_engine; }
    void setEngine(PlayerEngine *engine);
    QVideoSink *platformSink() const { return m_platformSink; }
    void setPlatformSink(QVideoSink *sink);
    QVideoSink *vlcSink() const { return m_vlcSink; }
    void setVlcSink(QVideoSink *sink);
    bool hostsVLC() const { return m_hostsVLC; }
    void setHostsVLC(bool hosts);
    bool usesVLC() const { return m_usesVLC; }
    void setUsesVLC(bool uses);
    bool showsVLC() const { return m_hostsVLC && m_usesVLC; }
    QSizeF size() const { return m_size; }
    void setSize(QSizeF size);
    int aspectMode() const { return int(m_aspectMode); }
    void setAspectMode(int mode);
    int fillMode() const { return fillModeFor(m_aspectMode); }
    QRectF platformRect() const;
    qreal modeProgress() const { return m_modeProgress; }
    void setModeProgress(qreal progress);

signals:
    void engineChanged();
    void platformSinkChanged();
    void vlcSinkChanged();
    void showsVLCChanged();
    void sizeChanged();
    void aspectModeChanged();
    void platformRectChanged();
    // The picture mode changed under a shown picture: the view runs `modeProgress` to 1.
    void modeTransitionStarted();

private:
    void detach();
    void attach();
    void updateVlcHosting();

    QPointer<PlayerEngine> m_engine;
    QPointer<QVideoSink> m_platformSink;
    QPointer<QVideoSink> m_vlcSink;
    bool m_hostsVLC = false;
    bool m_usesVLC = false;
    QRectF targetRect() const;
    void takeVideoSize();

    QSizeF m_size;
    // The platform picture's size, as the sink last announced it.
    QSize m_videoSize;
    PictureMode m_aspectMode = PictureMode::stretch;
    QRectF m_fromRect;
    qreal m_modeProgress = 1;
};
