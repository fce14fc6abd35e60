#pragma once

#include "LoopbackServer.h"
#include "TaskOutcome.h"
#include "TestHttp.h"
#include "sources/AppError.h"
#include "sources/Catalog.h"
#include "model/ContentKeys.h"

#include <QHash>
#include <QTest>

#include <gtest/gtest.h>

// A login answer with the given "user_info" members.
inline LoopbackResponse login(const QByteArray &userInfo, const QByteArray &timezone = "Europe/Paris")
{
    return LoopbackResponse::json("{\"user_info\":{" + userInfo + "},\"server_info\":{\"timezone\":\"" + timezone
                                  + "\"}}");
}

// A catalog on its own Http and virtual clock, and a provider on 127.0.0.1 that answers
// "player_api.php" by action (login without one) and serves M3U texts by path.
class CatalogFixture : public ::testing::Test {
protected:
    static constexpr qint64 kDay = 86400;

    LoopbackServer server;
    TestHttp http;
    // Starts at the real time: the provider's short guide keeps programmes ending after it.
    QDateTime now = QDateTime::currentDateTimeUtc();
    Catalog catalog { &http.http(), [this] { return now; }, [] { return QStringLiteral("Uncategorized"); } };
    QHash<QString, LoopbackResponse> answers;

    void SetUp() override
    {
        server.route(QStringLiteral("/player_api.php"), [this](const LoopbackRequest &request) {
            return answers.value(request.queryValue(QStringLiteral("action")), LoopbackResponse::withStatus(404));
        });
        answers.insert(QString(), login(R"("auth":1,"status":"Active")"));
        answers.insert(QStringLiteral("get_live_categories"),
                       LoopbackResponse::json(R"([{"category_id":"1","category_name":"News"},
                                                  {"category_id":"2","category_name":"Empty"},
                                                  {"category_name":"No id"}])"));
        answers.insert(QStringLiteral("get_live_streams"),
                       LoopbackResponse::json(R"([{"num":1,"name":"One","stream_id":101,"category_id":"1",
                                                   "tv_archive":1,"tv_archive_duration":"2"},
                                                  {"name":"Two","stream_id":102,"category_id":"9"},
                                                  {"name":"Three","stream_id":103},
                                                  {"name":"Four","stream_id":104,"category_id":"1"}])"));
        answers.insert(QStringLiteral("get_vod_categories"),
                       LoopbackResponse::json(R"([{"category_id":"5","category_name":"Films"}])"));
        answers.insert(QStringLiteral("get_vod_streams"),
                       LoopbackResponse::json(R"([{"name":"Film","stream_id":201,"category_id":"5"}])"));
        answers.insert(QStringLiteral("get_series_categories"),
                       LoopbackResponse::json(R"([{"category_id":"7","category_name":"Shows"}])"));
        answers.insert(QStringLiteral("get_series"),
                       LoopbackResponse::json(R"([{"name":"Show","series_id":301,"category_id":"7"}])"));
    }

    Playlist xtream() const
    {
        Playlist playlist;
        playlist.id = 5;
        playlist.name = QStringLiteral("Provider");
        playlist.type = QStringLiteral("xtream");
        playlist.host = server.baseUrl();
        playlist.username = QStringLiteral("u");
        playlist.password = QStringLiteral("p");
        return playlist;
    }

    Playlist m3u(const QString &pathAndQuery) const
    {
        Playlist playlist;
        playlist.id = 6;
        playlist.name = QStringLiteral("List");
        playlist.url = server.url(pathAndQuery);
        return playlist;
    }

    int actionCount(const QString &action) const
    {
        int count = 0;
        for (const LoopbackRequest &request : server.requests())
            count += request.path == u"/player_api.php" && request.queryValue(QStringLiteral("action")) == action;
        return count;
    }

    SectionPtr load(const Playlist &playlist, ContentType type, bool force = false)
    {
        return runTask(catalog.load(playlist, type, force));
    }

    Outcome<SectionPtr> tryLoad(const Playlist &playlist, ContentType type, bool force = false)
    {
        return runOutcome(catalog.load(playlist, type, force));
    }

    static QStringList names(const QList<MediaItem> &items)
    {
        QStringList result;
        for (const MediaItem &item : items)
            result.append(item.name);
        return result;
    }
};
