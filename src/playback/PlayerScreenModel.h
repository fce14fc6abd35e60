#pragma once

#include "PlayerChrome.h"
#include "PlayerPictureMode.h"
#include "PlayerQueueList.h"
#include "PlayerSeek.h"
#include "PlayerSubtitleLift.h"
#include "PlayerTracks.h"
#include "app/RouteScreen.h"
#include "model/PlayQueue.h"

#include <QPointer>
#include <QString>
#include <QtQml/qqmlregistration.h>

#include <optional>

class AppState;
class KeyRouter;
class PlayerEngine;
class Prefs;

// The full-screen player of one play queue: starting and leaving, keys, zapping
// and the controls. Its parts: the side list of the queue (`queueList`), the overlay timing
// and clock (`chrome`), the seek row (`seek`), the track menus (`tracks`), the picture
// mode (`picture`) and the subtitles' place (`subtitles`).
class PlayerScreenModel : public RouteScreen {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the route table")
    Q_PROPERTY(PlayerEngine *engine READ engine CONSTANT)
    Q_PROPERTY(PlayerQueueList *queueList READ queueList CONSTANT)
    Q_PROPERTY(PlayerChrome *chrome READ chrome CONSTANT)
    Q_PROPERTY(PlayerSeek *seek READ seek CONSTANT)
    Q_PROPERTY(PlayerTracks *tracks READ tracks CONSTANT)
    Q_PROPERTY(PlayerPictureMode *picture READ picture CONSTANT)
    Q_PROPERTY(PlayerSubtitleLift *subtitles READ subtitles CONSTANT)
    Q_PROPERTY(int index READ index NOTIFY indexChanged)
    Q_PROPERTY(bool hasItem READ hasItem NOTIFY indexChanged)
    Q_PROPERTY(QString title READ title NOTIFY indexChanged)
    Q_PROPERTY(QString subtitle READ subtitle NOTIFY indexChanged)
    Q_PROPERTY(QString logo READ logo NOTIFY indexChanged)
    Q_PROPERTY(bool live READ live NOTIFY indexChanged)
    Q_PROPERTY(int liveNumber READ liveNumber NOTIFY indexChanged)
    Q_PROPERTY(bool spinnerShown READ spinnerShown NOTIFY engineStateChanged)
    Q_PROPERTY(QString error READ errorText NOTIFY engineStateChanged)
    Q_PROPERTY(bool hasError READ hasError NOTIFY engineStateChanged)
    Q_PROPERTY(QString playPauseIcon READ playPauseIcon NOTIFY engineStateChanged)
    Q_PROPERTY(bool seekable READ seekable NOTIFY engineStateChanged)
    Q_PROPERTY(bool queueButtons READ queueButtons CONSTANT)
    Q_PROPERTY(bool liveBadge READ liveBadge NOTIFY liveBadgeChanged)
    Q_PROPERTY(bool favoriteButton READ favoriteButton NOTIFY indexChanged)
    Q_PROPERTY(bool isFavorite READ isFavorite NOTIFY favoriteChanged)
    Q_PROPERTY(QString fullScreenIcon READ fullScreenIcon NOTIFY fullScreenChanged)

public:
    static constexpr double kSmallStep = 10;
    static constexpr double kLargeStep = 60;

    // Which elements of the control row are present; play/pause, picture mode and full
    // screen always are.
    struct ControlRow {
        bool previousNext = false;
        bool skipTen = false;
        bool liveBadge = false;
        bool audioMenu = false;
        bool subtitleMenu = false;
        bool listButton = false;
        bool favorite = false;
        bool operator==(const ControlRow &) const = default;
    };

    // Plays the queue of its entry's route.
    PlayerScreenModel(ScreenDeps deps, RouteEntry entry, QObject *parent = nullptr);

    PlayerEngine *engine() const { return m_engine; }
    PlayerQueueList *queueList() { return &m_list; }
    PlayerChrome *chrome() { return &m_chrome; }
    PlayerSeek *seek() { return &m_seek; }
    PlayerTracks *tracks() { return &m_tracks; }
    PlayerPictureMode *picture() { return &m_picture; }
    PlayerSubtitleLift *subtitles() { return &m_subtitles; }
    int count() const { return m_list.count(); }
    int index() const { return m_index; }
    bool hasItem() const { return m_current.has_value(); }
    QString title() const;
    QString subtitle() const;
    QString logo() const;
    bool live() const { return m_current && m_current->live; }
    int liveNumber() const;
    bool spinnerShown() const;
    QString errorText() const;
    bool hasError() const;
    QString playPauseIcon() const;
    bool seekable() const;

    ControlRow controlRow() const;
    bool queueButtons() const { return count() >= 2; }
    bool liveBadge() const { return controlRow().liveBadge; }
    bool favoriteButton() const { return m_current && m_current->favorite; }
    bool isFavorite() const;
    QString fullScreenIcon() const;

    // A single click on the picture.
    Q_INVOKABLE void tap();
    Q_INVOKABLE void zap(int position);
    Q_INVOKABLE void previous() { zap(m_index - 1); }
    Q_INVOKABLE void next() { zap(m_index + 1); }
    Q_INVOKABLE void toggleList() { m_list.toggle(m_index); }
    Q_INVOKABLE void togglePause();
    // Seeks by `secs` from the engine's position, never before 0.
    Q_INVOKABLE void seekBy(double secs);
    Q_INVOKABLE void toggleFavorite();
    Q_INVOKABLE void toggleFullScreen();
    Q_INVOKABLE void retry();

    bool handleKey(const Key &key) override;

signals:
    void indexChanged();
    void engineStateChanged();
    // The badge follows both the item and the engine's seekability.
    void liveBadgeChanged();
    // The heart follows both the item and the favourites.
    void favoriteChanged();
    void fullScreenChanged();

private:
    // The view is on screen: starts the item (continue in place or play, resuming a saved
    // point), then the clock and the overlay.
    void shown() override;
    // Stops playback unless a screen below took the item over, and gives the mouse cursor
    // back.
    void removed() override;
    void connectSources();
    void setIndex(int index);
    void showPlayingRow();
    bool handleScreenKey(const Key &key);
    bool handleLetter(const QString &letter, bool several);
    void playEntry(const PlayItem &item);
    std::optional<double> resumeStart(const PlayItem &item) const;

    QPointer<Prefs> m_prefs;
    QPointer<PlayerEngine> m_engine;
    PlayQueue m_queue;

    int m_index = 0;
    std::optional<PlayItem> m_current;
    PlayerQueueList m_list;
    PlayerChrome m_chrome;
    PlayerSeek m_seek;
    PlayerTracks m_tracks;
    PlayerPictureMode m_picture;
    PlayerSubtitleLift m_subtitles;
};
