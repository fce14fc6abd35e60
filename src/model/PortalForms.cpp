#include "JsonForms.h"

#include "Lenient.h"

#include <QJsonDocument>

namespace {

Playlist playlistFromPortal(simdjson::dom::object object)
{
    Playlist playlist;
    const OptText id = lenientString(object, "id");
    playlist.id = id ? parseDecimalInteger(*id).value_or(0) : 0;
    playlist.name = lenientString(object, "name", TextBounds::kName).value_or(QString());
    playlist.type = lenientString(object, "type").value_or(QStringLiteral("m3u"));
    playlist.url = lenientString(object, "url");
    playlist.host = lenientString(object, "host");
    playlist.username = lenientString(object, "username");
    playlist.password = lenientString(object, "password");
    playlist.epg_url = lenientString(object, "epg_url");
    return playlist;
}

// A list that is not an array, or holds anything but objects, is dropped whole.
QList<Playlist> playlistsFromPortal(simdjson::dom::object device)
{
    simdjson::dom::array array;
    if (device.at_key("playlists").get(array) != simdjson::SUCCESS)
        return {};
    QList<Playlist> playlists;
    playlists.reserve(qsizetype(array.size()));
    for (simdjson::dom::element element : array) {
        simdjson::dom::object object;
        if (element.get(object) != simdjson::SUCCESS)
            return {};
        playlists.append(playlistFromPortal(object));
    }
    return playlists;
}

// A nested record read by its strict stored form; a broken one is left out.
template <typename T>
std::optional<T> strictMember(
    simdjson::dom::object device, std::string_view key, std::optional<T> (*read)(const QJsonObject &))
{
    simdjson::dom::object object;
    if (device.at_key(key).get(object) != simdjson::SUCCESS)
        return std::nullopt;
    const std::string text = simdjson::minify(object);
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(text));
    return document.isObject() ? read(document.object()) : std::nullopt;
}

std::optional<simdjson::dom::object> portalObject(simdjson::dom::parser &parser, const QByteArray &json)
{
    const std::optional<simdjson::dom::element> root = parseJson(parser, json);
    simdjson::dom::object object;
    if (!root || root->get(object) != simdjson::SUCCESS)
        return std::nullopt;
    return object;
}

} // namespace

std::optional<Playlist> playlistFromPortalJson(const QByteArray &json)
{
    simdjson::dom::parser parser;
    const std::optional<simdjson::dom::object> object = portalObject(parser, json);
    if (!object)
        return std::nullopt;
    return playlistFromPortal(*object);
}

std::optional<DeviceResponse> deviceResponseFromPortalJson(const QByteArray &json)
{
    simdjson::dom::parser parser;
    const std::optional<simdjson::dom::object> object = portalObject(parser, json);
    if (!object)
        return std::nullopt;
    DeviceResponse device;
    device.mac = lenientString(*object, "mac", TextBounds::kMessage).value_or(QString());
    device.device_key = lenientString(*object, "device_key", TextBounds::kMessage).value_or(QString());
    device.notice = lenientString(*object, "notice", TextBounds::kMessage);
    device.site_url = lenientString(*object, "site_url", TextBounds::kMessage);
    device.playlists = playlistsFromPortal(*object);
    device.app = strictMember(*object, "app", &appInfoFromJson);
    device.support = strictMember(*object, "support", &supportFromJson);
    return device;
}
