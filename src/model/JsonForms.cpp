#include "JsonForms.h"

#include "ContentKeys.h"
#include "TextBounds.h"

#include <QJsonArray>

#include <limits>

using namespace Qt::StringLiterals;

namespace {

// Reads the fields of one stored object; any missing required field or wrong JSON
// type marks the whole record as failed.
class StrictReader {
public:
    explicit StrictReader(const QJsonObject &object)
        : m_object(object)
    {
    }

    bool ok() const { return m_ok; }

    QString text(QLatin1StringView key)
    {
        const QJsonValue value = m_object.value(key);
        return check(value.isString()) ? value.toString() : QString();
    }

    // At most `limit` UTF-16 units of the text.
    OptText optText(QLatin1StringView key, qsizetype limit = std::numeric_limits<qsizetype>::max())
    {
        const QJsonValue value = m_object.value(key);
        if (isMissing(value) || !check(value.isString()))
            return std::nullopt;
        return TextBounds::cut(value.toString(), limit);
    }

    qint64 integer(QLatin1StringView key)
    {
        const QJsonValue value = m_object.value(key);
        // toInteger gives its default for fractions and values out of range
        const qint64 number = value.toInteger(0);
        check(value.isDouble() && (number != 0 || value.toInteger(1) == 0));
        return number;
    }

    bool flag(QLatin1StringView key)
    {
        const QJsonValue value = m_object.value(key);
        return check(value.isBool()) && value.toBool();
    }

    std::optional<bool> optFlag(QLatin1StringView key)
    {
        const QJsonValue value = m_object.value(key);
        if (isMissing(value) || !check(value.isBool()))
            return std::nullopt;
        return value.toBool();
    }

    ContentType contentType(QLatin1StringView key)
    {
        const std::optional<ContentType> type = contentTypeFromRaw(text(key));
        return check(type.has_value()) ? *type : ContentType::live;
    }

    template <typename T>
    std::optional<T> optRecord(QLatin1StringView key, std::optional<T> (*read)(const QJsonObject &))
    {
        const QJsonValue value = m_object.value(key);
        if (isMissing(value) || !check(value.isObject()))
            return std::nullopt;
        std::optional<T> record = read(value.toObject());
        check(record.has_value());
        return record;
    }

private:
    static bool isMissing(const QJsonValue &value) { return value.isUndefined() || value.isNull(); }

    bool check(bool condition)
    {
        m_ok = m_ok && condition;
        return condition;
    }

    QJsonObject m_object;
    bool m_ok = true;
};

template <typename T> std::optional<T> finished(const StrictReader &reader, T &&record)
{
    if (!reader.ok())
        return std::nullopt;
    return std::forward<T>(record);
}

void putText(QJsonObject &object, QLatin1StringView key, const OptText &value)
{
    if (value)
        object.insert(key, *value);
}

template <typename Optional> void putRecord(QJsonObject &object, QLatin1StringView key, const Optional &value)
{
    if (value)
        object.insert(key, toJson(*value));
}

} // namespace

QJsonObject toJson(const Playlist &value)
{
    QJsonObject object { { "id"_L1, value.id }, { "name"_L1, value.name }, { "type"_L1, value.type } };
    putText(object, "url"_L1, value.url);
    putText(object, "host"_L1, value.host);
    putText(object, "username"_L1, value.username);
    putText(object, "password"_L1, value.password);
    putText(object, "epg_url"_L1, value.epg_url);
    return object;
}

QJsonObject toJson(const DeviceRequest &value)
{
    return QJsonObject { { "mac"_L1, value.mac }, { "model"_L1, value.model }, { "os"_L1, value.os },
        { "app_version"_L1, value.app_version } };
}

QJsonObject toJson(const DeviceResponse &value)
{
    QJsonObject object { { "mac"_L1, value.mac }, { "device_key"_L1, value.device_key } };
    putText(object, "notice"_L1, value.notice);
    putText(object, "site_url"_L1, value.site_url);
    QJsonArray playlists;
    for (const Playlist &playlist : value.playlists)
        playlists.append(toJson(playlist));
    object.insert("playlists"_L1, playlists);
    putRecord(object, "app"_L1, value.app);
    putRecord(object, "support"_L1, value.support);
    return object;
}

QJsonObject toJson(const AppInfo &value)
{
    QJsonObject object;
    putText(object, "latest_version"_L1, value.latest_version);
    putText(object, "apk_url"_L1, value.apk_url);
    if (value.force_update)
        object.insert("force_update"_L1, *value.force_update);
    return object;
}

QJsonObject toJson(const Support &value)
{
    QJsonObject object;
    putText(object, "whatsapp"_L1, value.whatsapp);
    putText(object, "email"_L1, value.email);
    return object;
}

QJsonObject toJson(const Catchup &value)
{
    QJsonObject object { { "days"_L1, value.days }, { "mode"_L1, value.mode } };
    putText(object, "source"_L1, value.source);
    return object;
}

QJsonObject toJson(const FavoriteEntry &value)
{
    QJsonObject object { { "playlistId"_L1, value.playlistId }, { "type"_L1, rawValue(value.type) },
        { "id"_L1, value.id }, { "name"_L1, value.name }, { "categoryId"_L1, value.categoryId } };
    putText(object, "logo"_L1, value.logo);
    putText(object, "url"_L1, value.url);
    putText(object, "epgId"_L1, value.epgId);
    putText(object, "ext"_L1, value.ext);
    putText(object, "rating"_L1, value.rating);
    putRecord(object, "catchup"_L1, value.catchup);
    return object;
}

QJsonObject toJson(const PlayItem &value)
{
    QJsonObject object { { "key"_L1, value.key }, { "title"_L1, value.title }, { "url"_L1, value.url },
        { "live"_L1, value.live }, { "number"_L1, value.number }, { "catchup"_L1, value.catchup } };
    putText(object, "logo"_L1, value.logo);
    putText(object, "streamId"_L1, value.streamId);
    putText(object, "subtitle"_L1, value.subtitle);
    putRecord(object, "favorite"_L1, value.favorite);
    putText(object, "fallbackUrl"_L1, value.fallbackUrl);
    putText(object, "ext"_L1, value.ext);
    return object;
}

std::optional<AppInfo> appInfoFromJson(const QJsonObject &object)
{
    StrictReader reader(object);
    AppInfo info;
    info.latest_version = reader.optText("latest_version"_L1, TextBounds::kMessage);
    info.apk_url = reader.optText("apk_url"_L1, TextBounds::kMessage);
    info.force_update = reader.optFlag("force_update"_L1);
    return finished(reader, std::move(info));
}

std::optional<Support> supportFromJson(const QJsonObject &object)
{
    StrictReader reader(object);
    Support support;
    support.whatsapp = reader.optText("whatsapp"_L1, TextBounds::kMessage);
    support.email = reader.optText("email"_L1, TextBounds::kMessage);
    return finished(reader, std::move(support));
}

std::optional<Catchup> catchupFromJson(const QJsonObject &object)
{
    StrictReader reader(object);
    Catchup catchup;
    catchup.days = reader.integer("days"_L1);
    catchup.mode = reader.text("mode"_L1);
    catchup.source = reader.optText("source"_L1);
    return finished(reader, std::move(catchup));
}

std::optional<FavoriteEntry> favoriteFromJson(const QJsonObject &object)
{
    StrictReader reader(object);
    FavoriteEntry entry;
    entry.playlistId = reader.integer("playlistId"_L1);
    entry.type = reader.contentType("type"_L1);
    entry.id = reader.text("id"_L1);
    entry.name = reader.text("name"_L1);
    entry.logo = reader.optText("logo"_L1);
    entry.url = reader.optText("url"_L1);
    entry.categoryId = reader.text("categoryId"_L1);
    entry.epgId = reader.optText("epgId"_L1);
    entry.ext = reader.optText("ext"_L1);
    entry.rating = reader.optText("rating"_L1);
    entry.catchup = reader.optRecord("catchup"_L1, &catchupFromJson);
    return finished(reader, std::move(entry));
}

std::optional<PlayItem> playItemFromJson(const QJsonObject &object)
{
    StrictReader reader(object);
    PlayItem item;
    item.key = reader.text("key"_L1);
    item.title = reader.text("title"_L1);
    item.url = reader.text("url"_L1);
    item.logo = reader.optText("logo"_L1);
    item.live = reader.flag("live"_L1);
    item.streamId = reader.optText("streamId"_L1);
    item.subtitle = reader.optText("subtitle"_L1);
    item.number = reader.integer("number"_L1);
    item.favorite = reader.optRecord("favorite"_L1, &favoriteFromJson);
    item.fallbackUrl = reader.optText("fallbackUrl"_L1);
    item.catchup = reader.flag("catchup"_L1);
    item.ext = reader.optText("ext"_L1);
    return finished(reader, std::move(item));
}
