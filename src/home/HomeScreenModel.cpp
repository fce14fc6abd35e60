#include "HomeScreenModel.h"

#include "DeviceTexts.h"
#include "app/AppState.h"
#include "app/BidiText.h"
#include "app/ErrorMessages.h"
#include "app/Formatters.h"
#include "app/Localization.h"
#include "app/Prefs.h"
#include "app/WebAddress.h"
#include "kit/Theme.h"
#include "sources/AppClock.h"
#include "sources/Catalog.h"
#include "sources/M3uText.h"

#include <QVariantMap>

#include <algorithm>

namespace {

const QString kDismissedNotice = QStringLiteral("dismissed_notice");

struct ActionLook {
    HomeFocus::Target target;
    const char *icon;
    const char *label;
    QColor accent;
};

const QList<ActionLook> &actionLooks()
{
    static const QList<ActionLook> looks {
        { HomeFocus::Target::search, "magnifyingglass", "search", Theme::sky() },
        { HomeFocus::Target::fav, "heart.fill", "favorites", Theme::pinkLight() },
        { HomeFocus::Target::reload, "arrow.clockwise", "reload", Theme::emerald() },
        { HomeFocus::Target::settings, "gearshape.fill", "settings", Theme::indigoLight() },
        { HomeFocus::Target::exit, "rectangle.portrait.and.arrow.right", "exit", Theme::red() },
    };
    return looks;
}

// The screen a tile or an action opens; nothing for the ones that open none.
std::optional<Route> routeOf(HomeFocus::Target target)
{
    using enum HomeFocus::Target;
    switch (target) {
    case live:
        return Routes::Live {};
    case movies:
        return Routes::Browse { ContentType::movie };
    case series:
        return Routes::Browse { ContentType::series };
    case account:
        return Routes::Activation {};
    case playlist:
        return Routes::PlaylistPicker {};
    case search:
        return Routes::Search {};
    case fav:
        return Routes::Favorites {};
    case settings:
        return Routes::Settings {};
    default:
        return std::nullopt;
    }
}

} // namespace

HomeScreenModel::HomeScreenModel(ScreenDeps deps, RouteEntry entry, QObject *parent)
    : RouteScreen(std::move(deps), std::move(entry), parent)
    , m_recents(new RecentListModel(app()->prefs(), this))
    , m_clock(this->deps().clock, app()->prefs())
    , m_focus(HomeFocus::spotOf(keptFocus()))
    , m_noticeDismissed(app()->prefs()->defaults().text(kDismissedNotice))
{
    connect(app(), &AppState::deviceChanged, this, [this] {
        emit deviceChanged();
        emit noticeChanged();
        refreshRecents();
        checkGate();
        const std::optional<Playlist> playlist = activePlaylist();
        if (playlist && playlist->id != m_countsPlaylist)
            startCounts();
    });
    connect(app(), &AppState::offlineChanged, this, &HomeScreenModel::offlineChanged);
    connect(app()->prefs(), &Prefs::recentChanged, this, &HomeScreenModel::refreshRecents);
    connect(app()->prefs(), &Prefs::resumeChanged, this, &HomeScreenModel::refreshRecents);
    connect(app()->prefs(), &Prefs::timeFormatChanged, this, &HomeScreenModel::clockChanged);
    connect(&m_clock, &WallClock::ticked, this, [this] {
        emit clockChanged();
        emit statusChanged();
    });
    m_clock.start(kClockPeriodMs);
    // Resume points change while the player covers this screen; they show on return.
    refreshRecents();
    if (ready())
        startCounts();
}

HomeScreenModel::~HomeScreenModel() = default;

bool HomeScreenModel::ready() const
{
    return app()->device() && app()->activePlaylist();
}

QString HomeScreenModel::clockText() const
{
    return m_clock.text();
}

QString HomeScreenModel::dayText() const
{
    return formatDayLong(m_clock.now());
}

bool HomeScreenModel::offline() const
{
    return app()->offline();
}

QString HomeScreenModel::accountStatus() const
{
    return m_iptvExp ? ::tr(QStringLiteral("expires_on"), { formatDate(*m_iptvExp) }) : QString();
}

QColor HomeScreenModel::accountStatusColor() const
{
    const bool soon = m_iptvExp && m_clock.now().secsTo(*m_iptvExp) < kExpiryWarningSecs;
    return soon ? Theme::amber() : Theme::text();
}

QString HomeScreenModel::visibleNotice() const
{
    if (!app()->device())
        return {};
    const OptText &notice = app()->device()->notice;
    // A notice of nothing but spaces and tabs is blank; line breaks count as text.
    if (!notice || M3uText::trimmedSpacesAndTabs(*notice).isEmpty() || notice == m_noticeDismissed)
        return {};
    return *notice;
}

QString HomeScreenModel::latestVersion() const
{
    if (!app()->device() || !app()->device()->app)
        return {};
    const OptText &latest = app()->device()->app->latest_version;
    return isVersion(latest, AppState::kAppVersion) ? *latest : QString();
}

QString HomeScreenModel::updateText() const
{
    const QString latest = latestVersion();
    return latest.isEmpty() ? QString() : ::tr(QStringLiteral("update_available"), { latest });
}

QString HomeScreenModel::countText(ContentType type) const
{
    static const std::map<ContentType, QString> keys { { ContentType::live,
                                                           QStringLiteral("count_channels") },
        { ContentType::movie, QStringLiteral("count_movies") },
        { ContentType::series, QStringLiteral("count_series") } };
    if (const auto count = m_counts.find(type); count != m_counts.end())
        return trCount(keys.at(type), count->second, { formatNumber(count->second) });
    // A type the loader gave up on says so instead of loading for ever.
    if (m_failed.contains(type))
        return QStringLiteral("—");
    return ::tr(QStringLiteral("loading_short"));
}

QString HomeScreenModel::deviceAddress() const
{
    return deviceAddressOf(*app());
}

QString HomeScreenModel::playlistName() const
{
    const std::optional<Playlist> playlist = activePlaylist();
    return playlist && !playlist->name.isEmpty() ? playlist->name : ::tr(QStringLiteral("playlist"));
}

QString HomeScreenModel::playlistsLine() const
{
    const qsizetype count = app()->device() ? app()->device()->playlists.size() : 0;
    return count >= 2
        ? isolated(QString::number(count)) + QStringLiteral(" × ") + ::tr(QStringLiteral("playlist"))
        : QString();
}

QVariantList HomeScreenModel::actions() const
{
    QVariantList list;
    for (const ActionLook &look : actionLooks())
        list.append(QVariantMap { { QStringLiteral("id"), HomeFocus::idOf({ look.target }) },
            { QStringLiteral("icon"), QString::fromLatin1(look.icon) },
            { QStringLiteral("label"), ::tr(QString::fromLatin1(look.label)) },
            { QStringLiteral("accent"), look.accent } });
    return list;
}

QString HomeScreenModel::version() const
{
    return AppState::kAppVersion;
}

int HomeScreenModel::focusedCard() const
{
    return m_focus.target == HomeFocus::Target::card ? m_focus.card : -1;
}

bool HomeScreenModel::handleKey(const Key &key)
{
    if (key.kind == Key::Kind::esc)
        return escape(key);
    if (key.kind == Key::Kind::enter || key.kind == Key::Kind::space) {
        if (m_focus.target == HomeFocus::Target::none)
            return false;
        if (focusedCard() >= 0)
            playRecent(focusedCard());
        else
            run(m_focus.target);
        return true;
    }
    const std::optional<HomeFocus::Spot> next = HomeFocus::move(m_focus, key.kind, recentCount());
    if (!next)
        return false;
    setFocus(*next);
    return true;
}

// An open dialog and a screen to go back to leave Esc to the router.
bool HomeScreenModel::escape(const Key &key)
{
    if (!app() || app()->dialog() || canGoBack())
        return false;
    // Holding Esc neither quits nor restarts the quit window.
    if (key.held)
        return true;
    const qint64 now = deps().clock->nowMs();
    if (m_lastEsc && now - *m_lastEsc < kQuitWindowMs) {
        deps().quit();
    } else {
        m_lastEsc = now;
        app()->showToast(::tr(QStringLiteral("quit_hint")));
    }
    return true;
}

void HomeScreenModel::activate(const QString &id)
{
    run(HomeFocus::spotOf(id).target);
}

void HomeScreenModel::run(HomeFocus::Target target)
{
    if (target == HomeFocus::Target::reload)
        reload();
    else if (target == HomeFocus::Target::exit)
        deps().quit();
    else if (const std::optional<Route> route = routeOf(target))
        app()->push(*route);
}

void HomeScreenModel::playRecent(int index)
{
    if (index < 0 || index >= recentCount())
        return;
    const PlayItem item = m_recents->items().at(index);
    app()->push(Routes::Player { readyQueue({ item }, 0, true) });
}

void HomeScreenModel::dismissRecent(int index)
{
    if (index >= 0 && index < recentCount())
        app()->prefs()->removeRecent(m_recents->items().at(index).key);
}

void HomeScreenModel::dismissNotice()
{
    const QString notice = visibleNotice();
    if (notice.isEmpty())
        return;
    app()->prefs()->defaults().set(kDismissedNotice, notice);
    m_noticeDismissed = notice;
    emit noticeChanged();
}

void HomeScreenModel::retry()
{
    ++m_reload;
    startCounts();
}

void HomeScreenModel::openSite()
{
    // The portal's text: only a web page goes to the browser.
    if (const std::optional<QUrl> url = webPageUrl(siteAddressOf(*app(), deps().portalAddress)))
        deps().openUrl(*url);
}

QCoro::Task<> HomeScreenModel::reload()
{
    const QPointer<HomeScreenModel> self(this);
    const QPointer<AppState> app = this->app();
    if (!app)
        co_return;
    app->showToast(::tr(QStringLiteral("refreshing")));
    const DeviceResult result = co_await app->refreshDevice();
    if (!self || !app)
        co_return;
    if (const auto *failure = std::get_if<std::exception_ptr>(&result))
        app->showToast(userMessage(*failure));
    deps().catalog->reset();
    m_counts.clear();
    m_failed.clear();
    m_iptvExp.reset();
    emit countsChanged();
    emit statusChanged();
    if (isRoute<Routes::Home>(app->rootRoute()))
        retry();
    else
        app->backToStart();
}

qreal HomeScreenModel::gridSpacing(qreal gridHeight)
{
    return gridHeight < 420 ? 14 : 20;
}

qreal HomeScreenModel::sizeFactor(qreal gridHeight)
{
    return std::clamp(gridHeight / 420, 0.85, 1.35);
}

bool HomeScreenModel::showsRecents(qreal height, int recentCount)
{
    return recentCount > 0 && height > 720;
}

void HomeScreenModel::setFocus(HomeFocus::Spot focus)
{
    if (focus == m_focus)
        return;
    m_focus = focus;
    emit focusChanged();
}

void HomeScreenModel::refreshRecents()
{
    const std::optional<Playlist> playlist = activePlaylist();
    QList<PlayItem> items;
    if (playlist) {
        const QString prefix = QString::number(playlist->id) + QLatin1Char('|');
        for (const PlayItem &item : app()->prefs()->recent()) {
            if (item.key.startsWith(prefix))
                items.append(item);
        }
    }
    const int before = recentCount();
    m_recents->setItems(items);
    if (before != recentCount())
        emit recentsChanged();
}

void HomeScreenModel::checkGate()
{
    if (!isActive() || ready() || m_rerooting)
        return;
    m_rerooting = true;
    // Re-rooting removes this screen; it happens once the current call has returned.
    QMetaObject::invokeMethod(
        app(), [app = app()] { app->backToStart(); }, Qt::QueuedConnection);
}

void HomeScreenModel::becameTop()
{
    refreshRecents();
    checkGate();
}
