#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

class PlayerEngine;

// The player's audio and subtitle menus over the engine's track options.
class PlayerTracks : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the player screen")
    Q_PROPERTY(QStringList audioMenu READ audioMenu NOTIFY menusChanged)
    Q_PROPERTY(QStringList subtitleMenu READ subtitleMenu NOTIFY menusChanged)
    Q_PROPERTY(bool menuOpen READ menuOpen WRITE setMenuOpen NOTIFY menuOpenChanged)

public:
    explicit PlayerTracks(PlayerEngine *engine, QObject *parent = nullptr);

    // Entry texts of the menus; the audio menu needs two tracks, the subtitle menu starts
    // with "Off".
    QStringList audioMenu() const;
    QStringList subtitleMenu() const;
    bool menuOpen() const { return m_menuOpen; }
    // A menu is open: like the list and a scrub, it keeps the overlay up.
    void setMenuOpen(bool open);

    // `entry` indexes the menu's texts; the subtitle menu's entry 0 turns subtitles off.
    Q_INVOKABLE void chooseTrack(bool audio, int entry);

signals:
    void menusChanged();
    void menuOpenChanged();

private:
    QPointer<PlayerEngine> m_engine;
    bool m_menuOpen = false;
};
