#pragma once

#include "Records.h"

#include <QByteArray>
#include <QJsonObject>

// Strict stored forms (written and read with QJsonDocument): field names are keys,
// absent optionals are left out, a missing or mistyped required field fails the record.
QJsonObject toJson(const Playlist &value);
QJsonObject toJson(const DeviceRequest &value);
QJsonObject toJson(const DeviceResponse &value);
QJsonObject toJson(const AppInfo &value);
QJsonObject toJson(const Support &value);
QJsonObject toJson(const Catchup &value);
QJsonObject toJson(const FavoriteEntry &value);
QJsonObject toJson(const PlayItem &value);

std::optional<AppInfo> appInfoFromJson(const QJsonObject &object);
std::optional<Support> supportFromJson(const QJsonObject &object);
std::optional<Catchup> catchupFromJson(const QJsonObject &object);
std::optional<FavoriteEntry> favoriteFromJson(const QJsonObject &object);
std::optional<PlayItem> playItemFromJson(const QJsonObject &object);

// Lenient portal forms, read from raw JSON bytes (simdjson). Nothing when the bytes
// are not JSON or the value is not an object.
std::optional<Playlist> playlistFromPortalJson(const QByteArray &json);
std::optional<DeviceResponse> deviceResponseFromPortalJson(const QByteArray &json);
