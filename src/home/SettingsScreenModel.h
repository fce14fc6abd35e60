#pragma once

#include "app/RouteScreen.h"
#include "app/WallClock.h"
#include "model/Records.h"

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

#include <QCoroTask>

#include <memory>
#include <optional>

// The tiles of the settings grid.
enum class SettingId {
    device,
    refresh,
    playlist,
    language,
    timeFormat,
    pictureMode,
    userAgent,
    cache,
    keys,
    version,
    support
};

// The id the views know a tile by: "device", "refresh", "playlist", "lang", "time", "aspect",
// "ua", "cache", "keys", "version", "support".
QString settingName(SettingId id);
// The tile of a view's id; nothing for any other text.
std::optional<SettingId> settingOf(const QString &name);

// One tile of the settings grid: a setting with its value, or an action.
struct SettingTile {
    SettingId id = SettingId::device;
    QColor accent;
    QString icon;
    QString title;
    QString subtitle;
    QString trailing;
    QColor trailingColor;
    bool operator==(const SettingTile &) const = default;
};

// The settings screen: a grid of tiles for the language, time format, picture mode and user
// agent, the playlist refresh, clearing the caches, the device, playlist, version and support
// entries. The tile list is built anew from
// the shared state on every change; the focus is a tile index (-1: none) moved by the arrows
// over `columns` columns.
class SettingsScreenModel : public RouteScreen {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the route table")
    Q_PROPERTY(QVariantList tiles READ tileValues NOTIFY tilesChanged)
    Q_PROPERTY(int focus READ focus NOTIFY focusChanged)
    Q_PROPERTY(int columns READ columns NOTIFY columnsChanged)
    Q_PROPERTY(QString subtitle READ subtitle CONSTANT)

public:
    static constexpr qint64 kClockPeriodMs = 10000;
    static constexpr int kPresetShownLength = 48;

    SettingsScreenModel(ScreenDeps deps, RouteEntry entry, QObject *parent = nullptr);
    ~SettingsScreenModel() override;

    // The tiles for the present state, in order.
    QList<SettingTile> tiles() const;
    QVariantList tileValues() const;
    int focus() const { return m_focus; }
    int columns() const { return m_columns; }
    QString subtitle() const;

    // The four user agents offered, the settings' default first.
    static QStringList userAgentPresets();
    // Columns of a grid `width` wide.
    Q_INVOKABLE static int columnsFor(qreal width);
    // The view reports the width it lays the grid out in.
    Q_INVOKABLE void measure(qreal width);

    bool handleKey(const Key &key) override;

    // What Enter, Space or a click on the tile does.
    Q_INVOKABLE void runTile(const QString &id);

    void openLanguageDialog();
    void openTimeFormatDialog();
    void openPictureModeDialog();
    void openUserAgentDialog();
    // Asks the portal again, empties the HTTP cache and resets the catalog.
    QCoro::Task<> refreshPlaylists();
    void clearCache();
    void openUpdate(bool hasUpdate);
    void mailSupport(const QString &email);

signals:
    void tilesChanged();
    void focusChanged();
    void columnsChanged();

private:
    SettingTile deviceTile() const;
    SettingTile versionTile() const;
    std::optional<SettingTile> playlistTile() const;
    std::optional<SettingTile> supportTile() const;
    bool hasUpdate() const;
    QString focusToKeep() const override;
    void run(SettingId id);
    void setFocus(int focus);

    WallClock m_clock;
    int m_focus = -1;
    int m_columns = 4;
};
