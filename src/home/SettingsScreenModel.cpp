#include "SettingsScreenModel.h"

#include "DeviceTexts.h"
#include "kit/GridFocus.h"
#include "app/AppState.h"
#include "app/BidiText.h"
#include "app/Localization.h"
#include "app/Prefs.h"
#include "kit/GridMetrics.h"
#include "kit/Theme.h"

#include <QVariantMap>

#include <algorithm>
#include <iterator>

namespace {

QString languageName(const QString &code)
{
    static const QHash<QString, QString> names { { QStringLiteral("en"), QStringLiteral("English") },
        { QStringLiteral("fr"), QStringLiteral("Français") },
        { QStringLiteral("ar"), QStringLiteral("العربية") } };
    return names.value(code, ::tr(QStringLiteral("system_default")));
}

QString timeFormatName(const QString &value)
{
    if (value == u"24")
        return ::tr(QStringLiteral("time_format_24"));
    if (value == u"12")
        return ::tr(QStringLiteral("time_format_12"));
    return ::tr(QStringLiteral("time_format_system"));
}

struct Named {
    SettingId id;
    const char *name;
};

constexpr Named kNames[] = { { SettingId::device, "device" }, { SettingId::refresh, "refresh" },
    { SettingId::playlist, "playlist" }, { SettingId::language, "lang" }, { SettingId::timeFormat, "time" },
    { SettingId::pictureMode, "aspect" }, { SettingId::userAgent, "ua" }, { SettingId::cache, "cache" },
    { SettingId::keys, "keys" }, { SettingId::version, "version" }, { SettingId::support, "support" } };

SettingTile tile(SettingId id, QColor accent, const char *icon, const QString &title, const QString &subtitle,
    const QString &trailing = {})
{
    return { id, accent, QString::fromLatin1(icon), title, subtitle, trailing, Theme::textDim() };
}

} // namespace

QString settingName(SettingId id)
{
    const auto named = std::find_if(
        std::begin(kNames), std::end(kNames), [id](const Named &each) { return each.id == id; });
    return QString::fromLatin1(named->name);
}

std::optional<SettingId> settingOf(const QString &name)
{
    const auto named = std::find_if(std::begin(kNames), std::end(kNames),
        [&name](const Named &each) { return name == QLatin1String(each.name); });
    return named == std::end(kNames) ? std::nullopt : std::optional(named->id);
}

SettingsScreenModel::SettingsScreenModel(ScreenDeps deps, RouteEntry entry, QObject *parent)
    : RouteScreen(std::move(deps), std::move(entry), parent)
    , m_clock(this->deps().clock, app()->prefs())
{
    Prefs *prefs = app()->prefs();
    connect(app(), &AppState::deviceChanged, this, &SettingsScreenModel::tilesChanged);
    for (const auto changed : { &Prefs::languageChanged, &Prefs::timeFormatChanged, &Prefs::aspectModeChanged,
             &Prefs::userAgentChanged })
        connect(prefs, changed, this, &SettingsScreenModel::tilesChanged);
    connect(&m_clock, &WallClock::textChanged, this, &SettingsScreenModel::tilesChanged);
    m_clock.start(kClockPeriodMs);
    if (!keptFocus().isEmpty()) {
        const QList<SettingTile> list = tiles();
        const auto kept = std::find_if(list.begin(), list.end(),
            [this](const SettingTile &each) { return settingName(each.id) == keptFocus(); });
        if (kept != list.end())
            m_focus = int(kept - list.begin());
    }
}

SettingsScreenModel::~SettingsScreenModel() = default;

QList<SettingTile> SettingsScreenModel::tiles() const
{
    Prefs *prefs = app()->prefs();
    QList<SettingTile> list { deviceTile(),
        tile(SettingId::refresh, Theme::emerald(), "arrow.clockwise",
            ::tr(QStringLiteral("refresh_playlists")), ::tr(QStringLiteral("refresh_playlists_desc"))) };
    if (const std::optional<SettingTile> playlist = playlistTile())
        list.append(*playlist);
    list << tile(SettingId::language, Theme::blue(), "globe", ::tr(QStringLiteral("language")),
        ::tr(QStringLiteral("language_desc")), languageName(prefs->language()))
         << tile(SettingId::timeFormat, Theme::amberLight(), "clock.fill",
                ::tr(QStringLiteral("time_format")), m_clock.text(), timeFormatName(prefs->timeFormat()))
         << tile(SettingId::pictureMode, Theme::pinkLight(), "aspectratio",
                ::tr(QStringLiteral("aspect_ratio")), ::tr(QStringLiteral("aspect_desc")),
                pictureModeLabel(prefs->aspectMode()))
         << tile(SettingId::userAgent, Theme::sky(), "person.badge.shield.checkmark",
                ::tr(QStringLiteral("user_agent")), prefs->userAgent())
         << tile(SettingId::cache, Theme::orange(), "trash.fill", ::tr(QStringLiteral("clear_cache")),
                ::tr(QStringLiteral("clear_cache_desc")))
         << tile(SettingId::keys, Theme::indigo(), "keyboard", ::tr(QStringLiteral("keyboard")),
                isolatedItems(::tr(QStringLiteral("keyboard_desc")), readsRightToLeft(activeLanguage())))
         << versionTile();
    if (const std::optional<SettingTile> support = supportTile())
        list.append(*support);
    return list;
}

SettingTile SettingsScreenModel::deviceTile() const
{
    const QString key = app()->device() ? app()->device()->device_key : QStringLiteral("—");
    return tile(SettingId::device, Theme::cyanLight(), "qrcode", ::tr(QStringLiteral("device_info")),
        isolated(deviceAddressOf(*app())) + QLatin1Char('\n')
            + labelled(::tr(QStringLiteral("device_key")), key));
}

std::optional<SettingTile> SettingsScreenModel::playlistTile() const
{
    if (!app()->device() || app()->device()->playlists.size() < 2)
        return std::nullopt;
    const std::optional<Playlist> active = app()->activePlaylist();
    return tile(SettingId::playlist, Theme::violetLight(), "list.bullet.rectangle.portrait.fill",
        ::tr(QStringLiteral("switch_playlist")), active ? active->name : QString());
}

bool SettingsScreenModel::hasUpdate() const
{
    return app()->device() && app()->device()->app
        && isVersion(app()->device()->app->latest_version, AppState::kAppVersion);
}

SettingTile SettingsScreenModel::versionTile() const
{
    const QString title = ::tr(QStringLiteral("app_version"), { AppState::kAppVersion });
    if (!hasUpdate())
        return tile(SettingId::version, Theme::purple(), "info.circle.fill", title,
            ::tr(QStringLiteral("up_to_date")));
    SettingTile version = tile(SettingId::version, Theme::purple(), "arrow.down.circle.fill", title,
        ::tr(
            QStringLiteral("update_available"), { app()->device()->app->latest_version.value_or(QString()) }),
        ::tr(QStringLiteral("open_site")));
    version.trailingColor = Theme::cyan();
    return version;
}

std::optional<SettingTile> SettingsScreenModel::supportTile() const
{
    const std::optional<DeviceResponse> &device = app()->device();
    if (!device || !device->support || device->support->email.value_or(QString()).isEmpty())
        return std::nullopt;
    QString contacts = *device->support->email;
    if (const QString whatsapp = device->support->whatsapp.value_or(QString()); !whatsapp.isEmpty())
        contacts += QLatin1Char('\n') + whatsapp;
    return tile(SettingId::support, Theme::greenLight(), "person.wave.2.fill",
        ::tr(QStringLiteral("support")), contacts);
}

QVariantList SettingsScreenModel::tileValues() const
{
    QVariantList values;
    for (const SettingTile &tile : tiles())
        values.append(QVariantMap { { QStringLiteral("id"), settingName(tile.id) },
            { QStringLiteral("accent"), tile.accent }, { QStringLiteral("icon"), tile.icon },
            { QStringLiteral("title"), tile.title }, { QStringLiteral("subtitle"), tile.subtitle },
            { QStringLiteral("trailing"), tile.trailing },
            { QStringLiteral("trailingColor"), tile.trailingColor } });
    return values;
}

QString SettingsScreenModel::subtitle() const
{
    return QStringLiteral("Zelfor ") + AppState::kAppVersion;
}

int SettingsScreenModel::columnsFor(qreal width)
{
    return GridMetrics::columns(width, GridMetrics::kSettingWidth, GridMetrics::kSettingSpacing);
}

void SettingsScreenModel::measure(qreal width)
{
    const int columns = columnsFor(width);
    if (columns == m_columns)
        return;
    m_columns = columns;
    emit columnsChanged();
}

bool SettingsScreenModel::handleKey(const Key &key)
{
    const QList<SettingTile> list = tiles();
    const int n = int(list.size());
    if (const std::optional<int> focus = gridFocusMove(m_focus, key.kind, m_columns, n)) {
        setFocus(*focus);
        return true;
    }
    switch (key.kind) {
    case Key::Kind::enter:
    case Key::Kind::space:
        if (m_focus >= 0 && m_focus < n)
            run(list[m_focus].id);
        return true;
    default:
        return false;
    }
}

QString SettingsScreenModel::focusToKeep() const
{
    const QList<SettingTile> list = tiles();
    return m_focus >= 0 && m_focus < list.size() ? settingName(list[m_focus].id) : QString();
}

void SettingsScreenModel::setFocus(int focus)
{
    if (focus == m_focus)
        return;
    m_focus = focus;
    emit focusChanged();
}
