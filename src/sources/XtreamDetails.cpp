#include "XtreamClient.h"

#include "AppError.h"
#include "model/Lenient.h"

#include <algorithm>

namespace {

using simdjson::dom::element;
using simdjson::dom::object;

// The "info" member when the top level and it are both objects.
std::optional<object> infoObject(const std::optional<element> &root)
{
    object info;
    if (!root || (*root)["info"].get_object().get(info) != simdjson::SUCCESS)
        return std::nullopt;
    return info;
}

const object *pointer(const std::optional<object> &value)
{
    return value ? &*value : nullptr;
}

// A rating of "0" means none; the next candidate key is tried.
OptText ratingText(const object *from, std::initializer_list<std::string_view> keys)
{
    for (const std::string_view key : keys) {
        OptText text = XtreamClient::firstText(from, { key });
        if (text && *text != QLatin1StringView("0"))
            return text;
    }
    return std::nullopt;
}

std::optional<qint64> wholeNumber(const OptText &text)
{
    return text ? parseDecimalInteger(*text) : std::nullopt;
}

std::optional<QDateTime> expiryOf(object userInfo)
{
    element value;
    if (userInfo.at_key("exp_date").get(value) != simdjson::SUCCESS)
        return std::nullopt;
    const OptText text = lenientValue(value);
    const auto seconds = text ? parseDecimalDouble(*text) : std::nullopt;
    if (!seconds || !(*seconds > 0))
        return std::nullopt;
    return XtreamClient::dateFromSeconds(*seconds);
}

QStringList allowedFormatsOf(object userInfo)
{
    simdjson::dom::array formats;
    if (userInfo.at_key("allowed_output_formats").get_array().get(formats) != simdjson::SUCCESS)
        return {};
    QStringList result;
    for (const element value : formats) {
        if (value.is_null())
            result.append(QStringLiteral("<null>"));
        else if (const OptText text = lenientValue(value))
            result.append(text->toLower());
    }
    return result;
}

OptText stringMember(object parent, std::string_view key)
{
    std::string_view text;
    if (parent.at_key(key).get_string().get(text) != simdjson::SUCCESS)
        return std::nullopt;
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

std::optional<Episode> readEpisode(const object &source, std::optional<qint64> defaultSeason)
{
    const OptText id = XtreamClient::firstText(&source, { "id" });
    if (!id)
        return std::nullopt;
    Episode episode;
    episode.id = *id;
    episode.season
        = wholeNumber(XtreamClient::firstText(&source, { "season" })).value_or(defaultSeason.value_or(1));
    episode.number = wholeNumber(XtreamClient::firstText(&source, { "episode_num" })).value_or(0);
    episode.title = XtreamClient::firstText(&source, { "title" }, TextBounds::kName)
                        .value_or(QStringLiteral("E%1").arg(episode.number));
    episode.ext = XtreamClient::firstText(&source, { "container_extension" });
    object info;
    if (source["info"].get_object().get(info) == simdjson::SUCCESS) {
        episode.plot = XtreamClient::firstText(&info, { "plot" });
        episode.image = XtreamClient::firstText(&info, { "movie_image", "cover_big" });
        episode.durationSecs = wholeNumber(XtreamClient::firstText(&info, { "duration_secs" }));
    }
    return episode;
}

void collectFrom(element list, std::optional<qint64> defaultSeason, QList<Episode> &episodes)
{
    simdjson::dom::array array;
    if (list.get_array().get(array) != simdjson::SUCCESS)
        return;
    for (const element value : array) {
        object source;
        if (value.get_object().get(source) != simdjson::SUCCESS)
            continue;
        if (auto episode = readEpisode(source, defaultSeason))
            episodes.append(std::move(*episode));
    }
}

// Episodes come as {"<season>": [...]} or as a list of lists and objects.
QList<Episode> collectEpisodes(element root)
{
    QList<Episode> episodes;
    element listing;
    if (root["episodes"].get(listing) != simdjson::SUCCESS)
        return episodes;
    object seasons;
    simdjson::dom::array entries;
    if (listing.get_object().get(seasons) == simdjson::SUCCESS) {
        for (const auto member : seasons)
            collectFrom(member.value,
                parseDecimalInteger(QString::fromUtf8(member.key.data(), qsizetype(member.key.size()))),
                episodes);
    } else if (listing.get_array().get(entries) == simdjson::SUCCESS) {
        for (const element value : entries) {
            object source;
            if (value.is_array())
                collectFrom(value, std::nullopt, episodes);
            else if (value.get_object().get(source) == simdjson::SUCCESS)
                if (auto episode = readEpisode(source, std::nullopt))
                    episodes.append(std::move(*episode));
        }
    }
    return episodes;
}

} // namespace

namespace XtreamClient {

XtreamAccount parseAccount(const QByteArray &body)
{
    simdjson::dom::parser parser;
    const auto root = parseJson(parser, body);
    if (!root)
        throw DecodingError("login answer is not JSON");
    if (!root->is_object())
        throw AppError::badData();
    object userInfo;
    if ((*root)["user_info"].get_object().get(userInfo) != simdjson::SUCCESS)
        throw AppError::xtreamAuth();
    XtreamAccount account;
    element auth;
    const OptText authText = userInfo.at_key("auth").get(auth) == simdjson::SUCCESS ? lenientValue(auth)
                                                                                    : OptText("0");
    account.auth = authText == QLatin1StringView("1") || authText == QLatin1StringView("true");
    account.exp = expiryOf(userInfo);
    account.allowedFormats = allowedFormatsOf(userInfo);
    account.status = stringMember(userInfo, "status");
    object serverInfo;
    if ((*root)["server_info"].get_object().get(serverInfo) == simdjson::SUCCESS)
        account.timezone = stringMember(serverInfo, "timezone");
    return account;
}

VodInfo parseVodInfo(const QByteArray &body)
{
    simdjson::dom::parser parser;
    const auto info = infoObject(parseJson(parser, body));
    const object *from = pointer(info);
    VodInfo vod;
    vod.plot = firstText(from, { "plot", "description" });
    vod.rating = ratingText(from, { "rating", "rating_5based" });
    vod.genre = firstText(from, { "genre" });
    vod.director = firstText(from, { "director" });
    vod.cast = firstText(from, { "cast", "actors" });
    vod.releaseDate = firstText(from, { "releasedate", "release_date", "year" });
    vod.duration = firstText(from, { "duration" });
    vod.poster = firstText(from, { "movie_image", "cover_big" });
    vod.backdrop = firstText(from, { "backdrop_path" });
    return vod;
}

SeriesInfo parseSeriesInfo(const QByteArray &body)
{
    simdjson::dom::parser parser;
    const auto root = parseJson(parser, body);
    SeriesInfo series;
    // some panels answer [] for a series they have no details of: the list item stands
    if (root && root->is_array())
        return series;
    if (!root || !root->is_object())
        throw AppError::badData();
    for (Episode &episode : collectEpisodes(*root))
        series.episodesBySeason[episode.season].append(std::move(episode));
    for (QList<Episode> &season : series.episodesBySeason)
        std::stable_sort(season.begin(), season.end(),
            [](const Episode &a, const Episode &b) { return a.number < b.number; });
    const auto info = infoObject(root);
    const object *from = pointer(info);
    series.plot = firstText(from, { "plot", "description" });
    series.cover = firstText(from, { "cover", "cover_big" });
    series.backdrop = firstText(from, { "backdrop_path" });
    series.rating = ratingText(from, { "rating" });
    series.genre = firstText(from, { "genre" });
    series.releaseDate = firstText(from, { "releaseDate", "release_date" });
    series.cast = firstText(from, { "cast" });
    return series;
}

} // namespace XtreamClient
