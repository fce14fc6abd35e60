#include "HomeScreenModel.h"

#include "DeviceTexts.h"
#include "HomeFocus.h"
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
    const char *id;
    const char *icon;
    const char *label;
    QColor accent;
};

const QList<ActionLook> &actionLooks()
{
    static const QList<ActionLook> looks {
        { "search", "magnifyingglass", "search", Theme::rgb(0x38, 0xBD, 0xF8) },
        { "fav", "heart.fill", "favorites", Theme::rgb(0xF4, 0x72, 0xB6) },
        { "reload", "arrow.clockwise", "reload", Theme::rgb(0x34, 0xD3, 0x99) },
        { "settings", "gearshape.fill", "settings", Theme::rgb(0xA5, 0xB4, 0xFC) },
        { "exit", "rectangle.portrait.and.arrow.right", "exit", Theme::red() },
    };
    return looks;
}

} // namespace

HomeScreenModel::HomeScreenModel(ScreenDeps deps, RouteEntry entry, QObject *parent)
    : RouteScreen(std::move(deps), std::move(entry), parent)
    , m_recents(new RecentListModel(app()->prefs(), this))
    , m_focus(keptFocus())
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
    // Resume points change while the player covers this screen; they show on return.
    m_clockTimer = this->deps().clock->createTimer();
    m_clockTimer->start(kClockPeriodMs, true, [this] { tick(); });
    tick();
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
    return formatClock(m_now);
}

QString HomeScreenModel::dayText() const
{
    return formatDayLong(m_now);
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
    const bool soon = m_iptvExp && m_now.secsTo(*m_iptvExp) < kExpiryWarningSecs;
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
    return count >= 2 ? isolated(QString::number(count)) + QStringLiteral(" × ") + ::tr(QStringLiteral("playlist"))
                      : QString();
}

QVariantList HomeScreenModel::actions() const
{
    QVariantList list;
    for (const ActionLook &look : actionLooks())
        list.append(QVariantMap { { QStringLiteral("id"), QString::fromLatin1(look.id) },
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
    return HomeFocus::recentIndex(m_focus).value_or(-1);
}

bool HomeScreenModel::handleKey(const Key &key)
{
    if (key.kind == Key::Kind::enter || key.kind == Key::Kind::space) {
        if (m_focus.isEmpty())
            return false;
        if (focusedCard() >= 0)
            playRecent(focusedCard());
        else
            activate(m_focus);
        return true;
    }
    const std::optional<QString> next = HomeFocus::move(m_focus, key.kind, recentCount());
    if (!next)
        return false;
    setFocus(*next);
    return true;
}

void HomeScreenModel::activate(const QString &id)
{
    if (id == u"reload")
        reload();
    else if (id == u"exit")
        deps().quit();
    else
        push(id);
}

void HomeScreenModel::push(const QString &id)
{
    static const QHash<QString, Route> routes {
        { QStringLiteral("live"), Routes::Live {} },
        { QStringLiteral("movies"), Routes::Browse { ContentType::movie } },
        { QStringLiteral("series"), Routes::Browse { ContentType::series } },
        { QStringLiteral("account"), Routes::Activation {} },
        { QStringLiteral("playlist"), Routes::PlaylistPicker {} },
        { QStringLiteral("search"), Routes::Search {} },
        { QStringLiteral("fav"), Routes::Favorites {} },
        { QStringLiteral("settings"), Routes::Settings {} },
    };
    if (const auto route = routes.constFind(id); route != routes.cend())
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
        app->replace(app->rootRoute());
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

void HomeScreenModel::setFocus(const QString &focus)
{
    if (focus == m_focus)
        return;
    m_focus = focus;
    emit focusChanged();
}

void HomeScreenModel::tick()
{
    m_now = deps().clock->now().toLocalTime();
    emit clockChanged();
    emit statusChanged();
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
        app(), [app = app()] { app->replace(app->rootRoute()); }, Qt::QueuedConnection);
}

void HomeScreenModel::becameActive()
{
    refreshRecents();
    checkGate();
}
