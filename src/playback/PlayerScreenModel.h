#pragma once

#include "PlayQueueModel.h"
#include "app/KeyHandler.h"
#include "model/Records.h"

#include <QPointF>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

#include <memory>
#include <optional>

class AppClock;
class AppState;
class AppTimer;
class KeyRouter;
class PlayerEngine;
class Prefs;

// The full-screen player of one play queue: the appear and disappear roads, overlay timing,
// the clock, keys, zapping, the picture-mode cycle, the channel list and the controls.
class PlayerScreenModel : public KeyHandler {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString entryId READ entryId WRITE setEntryId NOTIFY entryChanged)
    Q_PROPERTY(PlayerEngine *engine READ engine CONSTANT)
    Q_PROPERTY(PlayQueueModel *channels READ channels NOTIFY entryChanged)
    Q_PROPERTY(int count READ count NOTIFY entryChanged)
    Q_PROPERTY(int index READ index NOTIFY indexChanged)
    Q_PROPERTY(bool hasItem READ hasItem NOTIFY indexChanged)
    Q_PROPERTY(QString title READ title NOTIFY indexChanged)
    Q_PROPERTY(QString subtitle READ subtitle NOTIFY indexChanged)
    Q_PROPERTY(QString logo READ logo NOTIFY indexChanged)
    Q_PROPERTY(bool live READ live NOTIFY indexChanged)
    Q_PROPERTY(int liveNumber READ liveNumber NOTIFY indexChanged)
    Q_PROPERTY(bool controls READ controls NOTIFY controlsChanged)
    Q_PROPERTY(int controlsFadeMs READ controlsFadeMs NOTIFY controlsChanged)
    Q_PROPERTY(bool chromeShown READ chromeShown NOTIFY chromeShownChanged)
    Q_PROPERTY(bool showList READ showList NOTIFY showListChanged)
    Q_PROPERTY(bool menuOpen READ menuOpen WRITE setMenuOpen NOTIFY menuOpenChanged)
    Q_PROPERTY(int listFocus READ listFocus NOTIFY listFocusChanged)
    Q_PROPERTY(QString clockText READ clockText NOTIFY clockChanged)
    Q_PROPERTY(int aspectMode READ aspectMode NOTIFY aspectModeChanged)
    Q_PROPERTY(QString aspectLabel READ aspectLabel NOTIFY aspectModeChanged)
    Q_PROPERTY(QString aspectToast READ aspectToastText NOTIFY aspectToastChanged)
    Q_PROPERTY(bool aspectToastShown READ aspectToastShown NOTIFY aspectToastChanged)
    Q_PROPERTY(bool spinnerShown READ spinnerShown NOTIFY engineStateChanged)
    Q_PROPERTY(QString error READ errorText NOTIFY engineStateChanged)
    Q_PROPERTY(bool hasError READ hasError NOTIFY engineStateChanged)
    Q_PROPERTY(QString playPauseIcon READ playPauseIcon NOTIFY engineStateChanged)
    Q_PROPERTY(bool seekable READ seekable NOTIFY engineStateChanged)
    Q_PROPERTY(bool queueButtons READ queueButtons NOTIFY entryChanged)
    Q_PROPERTY(bool liveBadge READ liveBadge NOTIFY engineStateChanged)
    Q_PROPERTY(QStringList audioMenu READ audioMenu NOTIFY engineStateChanged)
    Q_PROPERTY(QStringList subtitleMenu READ subtitleMenu NOTIFY engineStateChanged)
    Q_PROPERTY(bool favoriteButton READ favoriteButton NOTIFY indexChanged)
    Q_PROPERTY(bool isFavorite READ isFavorite NOTIFY favoriteChanged)
    Q_PROPERTY(QString fullScreenIcon READ fullScreenIcon NOTIFY fullScreenChanged)
    Q_PROPERTY(bool scrubbing READ scrubbing NOTIFY seekRowChanged)
    Q_PROPERTY(double seekFraction READ seekFraction NOTIFY seekRowChanged)
    Q_PROPERTY(QString elapsedText READ elapsedText NOTIFY seekRowChanged)
    Q_PROPERTY(QString durationText READ durationText NOTIFY seekRowChanged)

public:
    static constexpr qint64 kHideMs = 3500;
    static constexpr qint64 kClockMs = 15000;
    static constexpr qint64 kAspectToastMs = 1200;
    static constexpr int kShowFadeMs = 150;
    static constexpr int kHideFadeMs = 350;
    static constexpr int kTapHideFadeMs = 200;
    static constexpr int kListPage = 10;
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

    explicit PlayerScreenModel(QObject *parent = nullptr);
    PlayerScreenModel(AppState *app, Prefs *prefs, PlayerEngine *engine, KeyRouter *router, AppClock *clock,
        QObject *parent = nullptr);
    ~PlayerScreenModel() override;

    QString entryId() const { return m_entryId; }
    // The stack entry whose queue this screen plays (its id as text).
    void setEntryId(const QString &entryId);
    // Moves every delay to another clock; pending ones start over on it.
    void useClock(AppClock *clock);

    PlayerEngine *engine() const { return m_engine; }
    PlayQueueModel *channels() const { return m_channels.get(); }
    int count() const { return m_channels->count(); }
    int index() const { return m_index; }
    const std::optional<PlayItem> &currentItem() const { return m_current; }
    bool hasItem() const { return m_current.has_value(); }
    QString title() const;
    QString subtitle() const;
    QString logo() const;
    bool live() const { return m_current && m_current->live; }
    int liveNumber() const;
    bool controls() const { return m_controls; }
    int controlsFadeMs() const { return m_controlsFadeMs; }
    bool chromeShown() const;
    bool showList() const { return m_showList; }
    bool menuOpen() const { return m_menuOpen; }
    // A track menu is open: like the list and a scrub, it keeps the overlay up.
    void setMenuOpen(bool open);
    int listFocus() const { return m_listFocus; }
    QString clockText() const;
    int aspectMode() const;
    QString aspectLabel() const;
    std::optional<QString> aspectToast() const { return m_aspectToast; }
    QString aspectToastText() const { return m_aspectToast.value_or(QString()); }
    bool aspectToastShown() const { return m_aspectToast.has_value(); }
    bool spinnerShown() const;
    QString errorText() const;
    bool hasError() const;
    QString playPauseIcon() const;
    bool seekable() const;
    bool cursorHidden() const { return m_cursorHidden; }

    ControlRow controlRow() const;
    bool queueButtons() const { return count() >= 2; }
    bool liveBadge() const { return controlRow().liveBadge; }
    // Entry texts of the track menus; the subtitle menu starts with "Off".
    QStringList audioMenu() const;
    QStringList subtitleMenu() const;
    bool favoriteButton() const { return m_current && m_current->favorite; }
    bool isFavorite() const;
    QString fullScreenIcon() const;

    std::optional<double> scrubbingAt() const { return m_scrubbing; }
    bool scrubbing() const { return m_scrubbing.has_value(); }
    // The engine's duration when above 1, else 1.
    double total() const;
    // The position the seek row shows: the dragged one, else the engine's.
    double shownPosition() const;
    double seekFraction() const { return shownPosition() / total(); }
    QString elapsedText() const;
    QString durationText() const;

    // The view is on screen: starts the item once (continue in place or play, resuming
    // a saved point), then the clock and the overlay.
    Q_INVOKABLE void appear();
    // Runs once when the entry left the stack: stops playback unless the live screen below
    // takes it over, and gives the mouse cursor back.
    void disappear();

    Q_INVOKABLE void showControls();
    // The pointer is at `at` over the screen; only a move shows the overlay and the cursor,
    // since the window repeats hover events at a resting pointer while the picture changes.
    Q_INVOKABLE void pointerAt(QPointF at);
    // A single click on the picture.
    Q_INVOKABLE void tap();
    Q_INVOKABLE void zap(int position);
    Q_INVOKABLE void previous() { zap(m_index - 1); }
    Q_INVOKABLE void next() { zap(m_index + 1); }
    Q_INVOKABLE void cycleAspect();
    Q_INVOKABLE void toggleList();
    Q_INVOKABLE void closeList();
    Q_INVOKABLE void selectChannel(int position);
    Q_INVOKABLE void togglePause();
    // Seeks by `secs` from the engine's position, never before 0.
    Q_INVOKABLE void seekBy(double secs);
    Q_INVOKABLE void toggleFavorite();
    Q_INVOKABLE void toggleFullScreen();
    // `entry` indexes the menu's texts; the subtitle menu's entry 0 turns subtitles off.
    Q_INVOKABLE void chooseTrack(bool audio, int entry);
    // The pointer is at `x` in a seek bar `width` wide.
    Q_INVOKABLE void scrubChanged(double x, double width);
    Q_INVOKABLE void scrubEnded();
    Q_INVOKABLE void retry();
    Q_INVOKABLE void back();

    bool handleKey(const Key &key) override;

signals:
    void entryChanged();
    void indexChanged();
    void controlsChanged();
    void chromeShownChanged();
    void showListChanged();
    void menuOpenChanged();
    void listFocusChanged();
    // A one-shot request to bring that row to the middle of the channel list.
    void listScrollRequested(int row);
    void clockChanged();
    void aspectModeChanged();
    void aspectToastChanged();
    void engineStateChanged();
    void favoriteChanged();
    void fullScreenChanged();
    void seekRowChanged();

private:
    void connectSources();
    void setIndex(int index);
    void setControls(bool shown, int fadeMs);
    void setShowList(bool shown);
    void setListFocus(int row);
    void updateChrome();
    void moveListFocus(int step);
    bool handleListKey(const Key &key);
    bool handleScreenKey(const Key &key);
    bool handleLetter(const QString &letter, bool several);
    void hideAfterDelay();
    void hideCursor();
    void restoreCursor();
    void setAspectToast(std::optional<QString> text);
    void endAspectToastLater();
    void startClock();
    void setScrubbing(std::optional<double> at);
    void playEntry(const PlayItem &item);
    std::optional<double> resumeStart(const PlayItem &item) const;
    void onStackChanged();

    QPointer<AppState> m_app;
    QPointer<Prefs> m_prefs;
    QPointer<PlayerEngine> m_engine;
    QString m_entryId;
    std::optional<PlayQueue> m_queue;
    std::unique_ptr<PlayQueueModel> m_channels;

    int m_index = 0;
    std::optional<PlayItem> m_current;
    bool m_controls = true;
    int m_controlsFadeMs = kShowFadeMs;
    bool m_chromeShown = true;
    bool m_showList = false;
    bool m_menuOpen = false;
    int m_listFocus = 0;
    std::optional<QString> m_aspectToast;
    std::optional<double> m_scrubbing;
    bool m_started = false;
    bool m_gone = false;
    bool m_cursorHidden = false;
    std::optional<QPointF> m_pointer;
    std::unique_ptr<AppTimer> m_hideTimer;
    std::unique_ptr<AppTimer> m_clockTimer;
    std::unique_ptr<AppTimer> m_aspectTimer;
};
