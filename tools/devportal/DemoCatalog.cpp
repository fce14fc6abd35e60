#include "DemoCatalog.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>

namespace DemoCatalog {

namespace {

QByteArray compact(const QJsonValue &value)
{
    return value.isArray() ? QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact)
                           : QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact);
}

QString streamPath(const QString &base, const QString &kind, const QString &id, const QString &ext)
{
    return base + u'/' + kind + u'/' + kUser + u'/' + kPassword + u'/' + id + u'.' + ext;
}

QJsonObject liveStream(const Title &channel, int number, const QString &base)
{
    QJsonObject object {
        { "num", number },
        { "name", channel.name },
        { "stream_type", "live" },
        { "stream_id", channel.id.toInt() },
        { "stream_icon", logoUrl(base, channel.id) },
        { "epg_channel_id", channel.detail },
        { "tv_archive", channel.archive ? 1 : 0 },
        // panels send the archive length as text
        { "tv_archive_duration", channel.archive ? "3" : "0" },
    };
    if (!channel.categoryId.isEmpty())
        object.insert("category_id", channel.categoryId);
    return object;
}

QString ratingOf(const Title &title)
{
    return QString::number(5.5 + (title.id.toInt() % 40) / 10.0, 'f', 1);
}

QString yearOf(const Title &title)
{
    return QString::number(2000 + title.id.toInt() % 24);
}

QJsonObject vodStream(const Title &film, int number, const QString &base)
{
    return {
        { "num", number },
        { "name", film.name },
        { "stream_type", "movie" },
        { "stream_id", film.id.toInt() },
        { "stream_icon", posterUrl(base, film.id) },
        { "rating", ratingOf(film) },
        { "category_id", film.categoryId },
        { "container_extension", "mp4" },
    };
}

QJsonObject seriesStream(const Title &show, int number, const QString &base)
{
    return {
        { "num", number },
        { "name", show.name },
        { "series_id", show.id.toInt() },
        { "cover", posterUrl(base, show.id) },
        { "plot", show.name + QStringLiteral(": a demo series of generated test pictures.") },
        { "genre", show.detail },
        { "releaseDate", yearOf(show) + QStringLiteral("-03-01") },
        { "rating", ratingOf(show) },
        { "category_id", show.categoryId },
    };
}

} // namespace

const QList<Category> &categories(ContentType type)
{
    static const QList<Category> live { { "1", "News", 3 }, { "2", "Sports", 3 }, { "3", "Documentary", 3 },
        { "4", "Music", 3 } };
    static const QList<Category> movies { { "10", "Action", 3 }, { "11", "Drama", 3 },
        { "12", "Comedy", 3 } };
    static const QList<Category> series { { "20", "Crime", 2 }, { "21", "Science Fiction", 2 } };
    return type == ContentType::live ? live : type == ContentType::movie ? movies : series;
}

const QList<Title> &titles(ContentType type)
{
    static const QList<Title> live {
        { "101", "Zelfor News 24", "1", "news24.demo", true },
        { "102", "Morning Report", "1", "morning.demo", false },
        { "103", "World Headlines", "1", "world.demo", true },
        { "201", "Stadium One", "2", "stadium.demo", true },
        { "202", "Racing Live", "2", "racing.demo", false },
        { "203", "Match Replay", "2", "replay.demo", false },
        { "301", "Planet Wild", "3", "wild.demo", true },
        { "302", "Deep Ocean", "3", "ocean.demo", false },
        { "303", "Star Lab", "3", "starlab.demo", false },
        { "401", "Jazz Lounge", "4", "jazz.demo", false },
        { "402", "Pop Hits", "4", "pop.demo", false },
        { "403", "Classical Hall", "4", "classical.demo", false },
        { "901", "Test Card", "", "testcard.demo", false },
    };
    static const QList<Title> movies {
        { "1001", "Midnight Express Run", "10", "Action" },
        { "1002", "Steel Harbour", "10", "Action" },
        { "1003", "The Last Relay", "10", "Action" },
        { "1101", "Quiet Rooms", "11", "Drama" },
        { "1102", "Letters to Fez", "11", "Drama" },
        { "1103", "Winter Orchard", "11", "Drama" },
        { "1201", "Two Left Shoes", "12", "Comedy" },
        { "1202", "The Wrong Wedding", "12", "Comedy" },
        { "1203", "Uncle on Holiday", "12", "Comedy" },
    };
    static const QList<Title> series {
        { "5001", "Harbour Lights", "20", "Crime", false, 2 },
        { "5002", "Night Desk", "20", "Crime", false, 1 },
        { "5101", "The Long Orbit", "21", "Science Fiction", false, 2 },
        { "5102", "Signal Lost", "21", "Science Fiction", false, 1 },
    };
    return type == ContentType::live ? live : type == ContentType::movie ? movies : series;
}

std::optional<Title> find(ContentType type, const QString &id)
{
    for (const Title &title : titles(type)) {
        if (title.id == id)
            return title;
    }
    return std::nullopt;
}

QByteArray account(const QString &base, const QDateTime &now)
{
    const QJsonObject user {
        { "username", kUser },
        { "password", kPassword },
        { "message", "Welcome to the demo provider" },
        { "auth", 1 },
        { "status", "Active" },
        { "exp_date", QString::number(now.addYears(1).toSecsSinceEpoch()) },
        { "is_trial", "0" },
        { "active_cons", "0" },
        { "max_connections", "2" },
        { "allowed_output_formats", QJsonArray { "m3u8", "ts" } },
    };
    const QJsonObject server {
        { "url", "127.0.0.1" },
        { "port", QString::number(QUrl(base).port()) },
        { "server_protocol", "http" },
        { "timezone", "UTC" },
        { "timestamp_now", now.toSecsSinceEpoch() },
    };
    return compact(QJsonObject { { "user_info", user }, { "server_info", server } });
}

QByteArray refusal()
{
    return compact(QJsonObject { { "user_info", QJsonObject { { "auth", 0 } } } });
}

QByteArray categoriesJson(ContentType type)
{
    QJsonArray list;
    for (const Category &category : categories(type))
        list.append(QJsonObject {
            { "category_id", category.id }, { "category_name", category.name }, { "parent_id", 0 } });
    return compact(list);
}

QByteArray streamsJson(ContentType type, const QString &base)
{
    QJsonArray list;
    int number = 0;
    for (const Title &title : titles(type)) {
        ++number;
        list.append(type == ContentType::live ? liveStream(title, number, base)
                : type == ContentType::movie  ? vodStream(title, number, base)
                                              : seriesStream(title, number, base));
    }
    return compact(list);
}

QByteArray vodInfoJson(const QString &id, const QString &base)
{
    const std::optional<Title> film = find(ContentType::movie, id);
    if (!film)
        return compact(QJsonArray {});
    const QJsonObject info {
        { "movie_image", posterUrl(base, id) },
        { "backdrop_path", QJsonArray { backdropUrl(base, id) } },
        { "plot", film->name + QStringLiteral(" is a demo film: a generated test picture with a tone.") },
        { "genre", film->detail },
        { "director", "A. Demo" },
        { "cast", "Test Pattern, Sine Wave" },
        { "releasedate", yearOf(*film) + QStringLiteral("-06-15") },
        { "duration", "00:00:30" },
        { "duration_secs", 30 },
        { "rating", ratingOf(*film) },
    };
    const QJsonObject data { { "stream_id", id.toInt() }, { "name", film->name },
        { "container_extension", "mp4" } };
    return compact(QJsonObject { { "info", info }, { "movie_data", data } });
}

QByteArray seriesInfoJson(const QString &id, const QString &base)
{
    const std::optional<Title> show = find(ContentType::series, id);
    if (!show)
        return compact(QJsonArray {});
    QJsonObject episodes;
    for (int season = 1; season <= show->seasons; ++season) {
        QJsonArray list;
        for (int number = 1; number <= 3; ++number) {
            const QString episodeId = id + QString::number(season * 10 + number);
            list.append(QJsonObject {
                { "id", episodeId },
                { "episode_num", number },
                { "season", season },
                { "title", QStringLiteral("%1 S%2E%3").arg(show->name).arg(season).arg(number) },
                { "container_extension", "mp4" },
                { "info",
                    QJsonObject {
                        { "plot", QStringLiteral("Episode %1 of season %2.").arg(number).arg(season) },
                        { "movie_image", backdropUrl(base, id) }, { "duration_secs", 30 } } },
            });
        }
        episodes.insert(QString::number(season), list);
    }
    QJsonObject info = seriesStream(*show, 1, base);
    info.insert("backdrop_path", QJsonArray { backdropUrl(base, id) });
    info.insert("cast", "Test Pattern, Sine Wave");
    return compact(QJsonObject { { "info", info }, { "episodes", episodes } });
}

QByteArray m3u(const QString &base)
{
    QByteArray text = "#EXTM3U\n";
    auto groupOf = [](ContentType type, const QString &categoryId) {
        for (const Category &category : categories(type)) {
            if (category.id == categoryId)
                return category.name;
        }
        return QString();
    };
    for (const Title &channel : titles(ContentType::live)) {
        QString line = QStringLiteral("#EXTINF:-1 tvg-id=\"%1\" tvg-logo=\"%2\"")
                           .arg(channel.detail, logoUrl(base, channel.id));
        if (!channel.categoryId.isEmpty())
            line += QStringLiteral(" group-title=\"%1\"").arg(groupOf(ContentType::live, channel.categoryId));
        if (channel.archive)
            line += QStringLiteral(
                " catchup=\"default\" catchup-days=\"3\" catchup-source=\"%1/catchup/%2.ts?utc={utc}&lutc={lutc}\"")
                        .arg(base, channel.id);
        text += (line + u',' + channel.name + u'\n' + streamPath(base, "live", channel.id, "ts") + u'\n')
                    .toUtf8();
    }
    for (const Title &film : titles(ContentType::movie)) {
        const QString line
            = QStringLiteral("#EXTINF:-1 tvg-logo=\"%1\" group-title=\"%2\",%3\n")
                  .arg(posterUrl(base, film.id), groupOf(ContentType::movie, film.categoryId), film.name);
        text += (line + streamPath(base, "movie", film.id, "mp4") + u'\n').toUtf8();
    }
    return text;
}

QString logoUrl(const QString &base, const QString &id)
{
    return base + QStringLiteral("/img/logo/") + id + ".png";
}
QString posterUrl(const QString &base, const QString &id)
{
    return base + QStringLiteral("/img/poster/") + id + ".png";
}
QString backdropUrl(const QString &base, const QString &id)
{
    return base + QStringLiteral("/img/backdrop/") + id + ".png";
}

} // namespace DemoCatalog
