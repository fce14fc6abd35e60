#pragma once

#include "HomeFocus.h"
#include "RecentListModel.h"
#include "app/RouteScreen.h"
#include "app/WallClock.h"
#include "model/Records.h"

#include <QColor>
#include <QDateTime>
#include <QString>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

#include <QCoroTask>

#include <map>
#include <memory>
#include <optional>
#include <set>

// The home screen: item counts of the active playlist, the provider's expiry, the clock, the
// portal's notice, load-error and update banners, the tiles and actions, the continue-watching
// row and the keyboard focus over all of them (ids: the tiles "live", "movies", "series",
// "account", "playlist", the actions "search", "fav", "reload", "settings", "exit" and the
// cards "r0", "r1", ...; empty when nothing is focused). Esc on the lone home screen hints,
// and a second Esc within 2 s quits; a held Esc's repeats never count as that second press.
class HomeScreenModel : public RouteScreen {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the route table")
    Q_PROPERTY(bool ready READ ready NOTIFY deviceChanged)
    Q_PROPERTY(QString focus READ focus NOTIFY focusChanged)
    Q_PROPERTY(int focusedCard READ focusedCard NOTIFY focusChanged)
    Q_PROPERTY(QString clockText READ clockText NOTIFY clockChanged)
    Q_PROPERTY(QString dayText READ dayText NOTIFY clockChanged)
    Q_PROPERTY(bool offline READ offline NOTIFY offlineChanged)
    Q_PROPERTY(QString accountStatus READ accountStatus NOTIFY statusChanged)
    Q_PROPERTY(QColor accountStatusColor READ accountStatusColor NOTIFY statusChanged)
    Q_PROPERTY(QString visibleNotice READ visibleNotice NOTIFY noticeChanged)
    Q_PROPERTY(QString loadError READ loadError NOTIFY countsChanged)
    Q_PROPERTY(QString latestVersion READ latestVersion NOTIFY deviceChanged)
    Q_PROPERTY(QString updateText READ updateText NOTIFY deviceChanged)
    Q_PROPERTY(QString liveCount READ liveCount NOTIFY countsChanged)
    Q_PROPERTY(QString movieCount READ movieCount NOTIFY countsChanged)
    Q_PROPERTY(QString seriesCount READ seriesCount NOTIFY countsChanged)
    Q_PROPERTY(QString deviceAddress READ deviceAddress NOTIFY deviceChanged)
    Q_PROPERTY(QString playlistName READ playlistName NOTIFY deviceChanged)
    Q_PROPERTY(QString playlistsLine READ playlistsLine NOTIFY deviceChanged)
    Q_PROPERTY(QVariantList actions READ actions CONSTANT)
    Q_PROPERTY(RecentListModel *recents READ recents CONSTANT)
    Q_PROPERTY(int recentCount READ recentCount NOTIFY recentsChanged)
    Q_PROPERTY(QString version READ version CONSTANT)

public:
    static constexpr qint64 kClockPeriodMs = 10000;
    static constexpr qint64 kExpiryWarningSecs = 604800;
    // A second Esc this soon after the first quits.
    static constexpr qint64 kQuitWindowMs = 2000;

    HomeScreenModel(ScreenDeps deps, RouteEntry entry, QObject *parent = nullptr);
    ~HomeScreenModel() override;

    // A device record with an active playlist; without one the screen re-roots the stack.
    bool ready() const;
    QString focus() const { return HomeFocus::idOf(m_focus); }
    // The index of the focused card of the continue-watching row; -1 when none is focused.
    int focusedCard() const;
    QString clockText() const;
    QString dayText() const;
    bool offline() const;
    // "Expires: <date>" once the provider's expiry is known, else empty.
    QString accountStatus() const;
    // Amber within a week of the expiry (and after it), else the text colour.
    QColor accountStatusColor() const;
    // The portal's notice as received, unless it is blank or the one last dismissed.
    QString visibleNotice() const;
    QString loadError() const { return m_loadError.value_or(QString()); }
    // The portal's latest version when it is newer than this one, else empty.
    QString latestVersion() const;
    QString updateText() const;
    // The count line of a content type's tile.
    QString countText(ContentType type) const;
    QString liveCount() const { return countText(ContentType::live); }
    QString movieCount() const { return countText(ContentType::movie); }
    QString seriesCount() const { return countText(ContentType::series); }
    QString deviceAddress() const;
    QString playlistName() const;
    // "2 × Playlist" on a device with several playlists, else empty.
    QString playlistsLine() const;
    // id, icon, label and accent of the five actions, in order.
    QVariantList actions() const;
    RecentListModel *recents() const { return m_recents; }
    int recentCount() const { return int(m_recents->items().size()); }
    QString version() const;

    bool handleKey(const Key &key) override;

    // What a click or Enter on a tile or action does.
    Q_INVOKABLE void activate(const QString &id);
    // Plays card `index` of the continue-watching row, at its resume point.
    Q_INVOKABLE void playRecent(int index);
    // Removes the card's item from the recently watched list.
    Q_INVOKABLE void dismissRecent(int index);
    Q_INVOKABLE void dismissNotice();
    // Loads the counts again, forcing only the live section.
    Q_INVOKABLE void retry();
    // Opens the portal's site (only a web address) in the browser.
    Q_INVOKABLE void openSite();
    // Asks the portal again, resets the catalog and counts afresh, or re-roots the stack.
    QCoro::Task<> reload();

    // Layout rules of the screen: spacing and size factor of a tile grid `gridHeight` high,
    // and whether a content area `height` high shows the continue-watching row.
    Q_INVOKABLE static qreal gridSpacing(qreal gridHeight);
    Q_INVOKABLE static qreal sizeFactor(qreal gridHeight);
    Q_INVOKABLE static bool showsRecents(qreal height, int recentCount);

signals:
    void deviceChanged();
    void focusChanged();
    void clockChanged();
    void offlineChanged();
    void statusChanged();
    void noticeChanged();
    void countsChanged();
    void recentsChanged();
    // Loading the counts ended (or was dropped for a newer run).
    void countsLoaded();

private:
    void becameTop() override;
    QString focusToKeep() const override { return focus(); }
    void setFocus(HomeFocus::Spot focus);
    void run(HomeFocus::Target target);
    void refreshRecents();
    void checkGate();
    void startCounts();
    QCoro::Task<> loadCounts(quint64 run);
    bool isCurrentRun(quint64 run) const { return run == m_countsRun; }
    bool escape(const Key &key);

    RecentListModel *m_recents;
    WallClock m_clock;
    HomeFocus::Spot m_focus;
    std::optional<QString> m_noticeDismissed;
    std::map<ContentType, qint64> m_counts;
    // Types the last finished run could not count.
    std::set<ContentType> m_failed;
    std::optional<QString> m_loadError;
    std::optional<QDateTime> m_iptvExp;
    int m_reload = 0;
    quint64 m_countsRun = 0;
    qint64 m_countsPlaylist = -1;
    bool m_rerooting = false;
    std::optional<qint64> m_lastEsc;
};
