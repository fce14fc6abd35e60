#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QtQml/qqmlregistration.h>

#include <optional>

class PlayerChrome;
class PlayerEngine;

// The player's seek row: the engine's position and length as texts and as a fraction, and a
// drag along the bar that shows the dragged time and seeks once, at release.
class PlayerSeek : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the player screen")
    Q_PROPERTY(bool scrubbing READ scrubbing NOTIFY changed)
    Q_PROPERTY(double fraction READ fraction NOTIFY changed)
    Q_PROPERTY(QString elapsedText READ elapsedText NOTIFY changed)
    Q_PROPERTY(QString durationText READ durationText NOTIFY changed)

public:
    PlayerSeek(PlayerEngine *engine, PlayerChrome *chrome, QObject *parent = nullptr);

    bool scrubbing() const { return m_scrubbing.has_value(); }
    // The engine's duration when above 1, else 1.
    double total() const;
    // The position the row shows: the dragged one, else the engine's.
    double shownPosition() const;
    double fraction() const { return shownPosition() / total(); }
    QString elapsedText() const;
    QString durationText() const;

    // The pointer is at `x` in a seek bar `width` wide.
    Q_INVOKABLE void scrubChanged(double x, double width);
    Q_INVOKABLE void scrubEnded();

signals:
    void changed();

private:
    void setScrubbing(std::optional<double> at);

    QPointer<PlayerEngine> m_engine;
    PlayerChrome *m_chrome;
    std::optional<double> m_scrubbing;
};
