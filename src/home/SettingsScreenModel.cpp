#include "SettingsScreenModel.h"

#include "DeviceTexts.h"
#include "GridFocus.h"
#include "app/AppState.h"
#include "app/BidiText.h"
#include "app/Formatters.h"
#include "app/Localization.h"
#include "app/Prefs.h"
#include "kit/Theme.h"
#include "sources/AppClock.h"

#include <QVariantMap>

#include <algorithm>
#include <cmath>

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

QString pictureModeName(qint64 mode)
{
    if (mode == 1)
        return ::tr(QStringLiteral("aspect_fit"));
    if (mode == 2)
        return ::tr(QStringLiteral("aspect_zoom"));
    return ::tr(QStringLiteral("aspect_fill"));
}

SettingTile tile(const char *id, QColor accent, const char *icon, const QString &title,
    const QString &subtitle, const QString &trailing = {})
{
    return { QString::fromLatin1(id), accent, QString::fromLatin1(icon), title, subtitle, trailing,
        Theme::textDim() };
}

} // namespace

SettingsScreenModel::SettingsScreenModel(ScreenDeps deps, RouteEntry entry, QObject *parent)
    : RouteScreen(std::move(deps), std::move(entry), parent)
{
    Prefs *prefs = app()->prefs();
    connect(app(), &AppState::deviceChanged, this, &SettingsScreenModel::tilesChanged);
    for (const auto changed : { &Prefs::languageChanged, &Prefs::timeFormatChanged, &Prefs::aspectModeChanged,
             &Prefs::userAgentChanged })
        connect(prefs, changed, this, [this] {
            m_clockText = formatClock(this->deps().clock->now().toLocalTime());
            emit tilesChanged();
        });
    m_clockTimer = this->deps().clock->createTimer();
    m_clockTimer->start(kClockPeriodMs, true, [this] { tick(); });
    m_clockText = formatClock(this->deps().clock->now().toLocalTime());
    if (!keptFocus().isEmpty()) {
        const QList<SettingTile> list = tiles();
        const auto kept = std::find_if(
            list.begin(), list.end(), [this](const SettingTile &each) { return each.id == keptFocus(); });
        if (kept != list.end())
            m_focus = int(kept - list.begin());
    }
}

SettingsScreenModel::~SettingsScreenModel() = default;

QList<SettingTile> SettingsScreenModel::tiles() const
{
    Prefs *prefs = app()->prefs();
    QList<SettingTile> list { deviceTile(),
        tile("refresh", Theme::rgb(0x34, 0xD3, 0x99), "arrow.clockwise",
            ::tr(QStringLiteral("refresh_playlists")), ::tr(QStringLiteral("refresh_playlists_desc"))) };
    if (const std::optional<SettingTile> playlist = playlistTile())
        list.append(*playlist);
    list << tile("lang", Theme::rgb(0x60, 0xA5, 0xFA), "globe", ::tr(QStringLiteral("language")),
        ::tr(QStringLiteral("language_desc")), languageName(prefs->language()))
         << tile("time", Theme::rgb(0xFB, 0xBF, 0x24), "clock.fill", ::tr(QStringLiteral("time_format")),
                m_clockText, timeFormatName(prefs->timeFormat()))
         << tile("aspect", Theme::rgb(0xF4, 0x72, 0xB6), "aspectratio", ::tr(QStringLiteral("aspect_ratio")),
                ::tr(QStringLiteral("aspect_desc")), pictureModeName(prefs->aspectMode()))
         << tile("ua", Theme::rgb(0x38, 0xBD, 0xF8), "person.badge.shield.checkmark",
                ::tr(QStringLiteral("user_agent")), prefs->userAgent())
         << tile("cache", Theme::rgb(0xFB, 0x92, 0x3C), "trash.fill", ::tr(QStringLiteral("clear_cache")),
                ::tr(QStringLiteral("clear_cache_desc")))
         << tile("keys", Theme::rgb(0x81, 0x8C, 0xF8), "keyboard", ::tr(QStringLiteral("keyboard")),
                isolatedItems(::tr(QStringLiteral("keyboard_desc")), readsRightToLeft(activeLanguage())))
         << versionTile();
    if (const std::optional<SettingTile> support = supportTile())
        list.append(*support);
    return list;
}

SettingTile SettingsScreenModel::deviceTile() const
{
    const QString key = app()->device() ? app()->device()->device_key : QStringLiteral("—");
    return tile("device", Theme::rgb(0x22, 0xD3, 0xEE), "qrcode", ::tr(QStringLiteral("device_info")),
        isolated(deviceAddressOf(*app())) + QLatin1Char('\n') + labelled(::tr(QStringLiteral("device_key")), key));
}

std::optional<SettingTile> SettingsScreenModel::playlistTile() const
{
    if (!app()->device() || app()->device()->playlists.size() < 2)
        return std::nullopt;
    const std::optional<Playlist> active = app()->activePlaylist();
    return tile("playlist", Theme::rgb(0xA7, 0x8B, 0xFA), "list.bullet.rectangle.portrait.fill",
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
        return tile("version", Theme::rgb(0xC0, 0x84, 0xFC), "info.circle.fill", title,
            ::tr(QStringLiteral("up_to_date")));
    SettingTile version = tile("version", Theme::rgb(0xC0, 0x84, 0xFC), "arrow.down.circle.fill", title,
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
    return tile("support", Theme::rgb(0x4A, 0xDE, 0x80), "person.wave.2.fill",
        ::tr(QStringLiteral("support")), contacts);
}

QVariantList SettingsScreenModel::tileValues() const
{
    QVariantList values;
    for (const SettingTile &tile : tiles())
        values.append(
            QVariantMap { { QStringLiteral("id"), tile.id }, { QStringLiteral("accent"), tile.accent },
                { QStringLiteral("icon"), tile.icon }, { QStringLiteral("title"), tile.title },
                { QStringLiteral("subtitle"), tile.subtitle }, { QStringLiteral("trailing"), tile.trailing },
                { QStringLiteral("trailingColor"), tile.trailingColor } });
    return values;
}

QString SettingsScreenModel::subtitle() const
{
    return QStringLiteral("Zelfor ") + AppState::kAppVersion;
}

int SettingsScreenModel::columnsFor(qreal width)
{
    return std::max(2, int(std::floor((width + 16) / 246)));
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
            runTile(list[m_focus].id);
        return true;
    default:
        return false;
    }
}

QString SettingsScreenModel::focusToKeep() const
{
    const QList<SettingTile> list = tiles();
    return m_focus >= 0 && m_focus < list.size() ? list[m_focus].id : QString();
}

void SettingsScreenModel::setFocus(int focus)
{
    if (focus == m_focus)
        return;
    m_focus = focus;
    emit focusChanged();
}

void SettingsScreenModel::tick()
{
    const QString clockText = formatClock(deps().clock->now().toLocalTime());
    if (clockText == m_clockText)
        return;
    m_clockText = clockText;
    emit tilesChanged();
}
