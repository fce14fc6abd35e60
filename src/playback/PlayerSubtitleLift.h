#pragma once

#include <QObject>
#include <QPointer>
#include <QRectF>
#include <QtQml/qqmlregistration.h>

class PlayerChrome;
class PlayerEngine;

// While the overlay is shown, the engine draws subtitles above the controls rather than
// under them: it lifts them by the part of the picture the controls cover.
class PlayerSubtitleLift : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the player screen")
    // Where the picture lies on the screen, and the top of the controls.
    Q_PROPERTY(QRectF picture READ picture WRITE setPicture NOTIFY placeChanged)
    Q_PROPERTY(qreal controlsTop READ controlsTop WRITE setControlsTop NOTIFY placeChanged)

public:
    PlayerSubtitleLift(PlayerEngine *engine, PlayerChrome *chrome, QObject *parent = nullptr);

    QRectF picture() const { return m_picture; }
    void setPicture(const QRectF &picture);
    qreal controlsTop() const { return m_controlsTop; }
    void setControlsTop(qreal top);
    // The fraction of the picture's height under the controls while they show, else 0.
    double lift() const;
    // The screen left: subtitles go back to their place.
    void stop();

signals:
    void placeChanged();

private:
    void update();

    QPointer<PlayerEngine> m_engine;
    PlayerChrome *m_chrome;
    QRectF m_picture;
    qreal m_controlsTop = 0;
    bool m_stopped = false;
};
