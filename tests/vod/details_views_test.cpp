#include "ProgramServices.h"
#include "../kit/KitTestSupport.h"
#include "AppWindowTest.h"
#include "RunTask.h"
#include "XtreamProvider.h"
#include "app/AppState.h"
#include "app/Prefs.h"
#include "kit/PosterRating.h"
#include "model/ContentKeys.h"
#include "sources/PlayItems.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QQuickWindow>
#include <QtQml/qqmlextensionplugin.h>
#include <gtest/gtest.h>

Q_IMPORT_QML_PLUGIN(Zelfor_AppPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_KitPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_PlaybackPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_VodPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_ShellPlugin)

namespace {

// The application's window over the shared state, whose device has the loopback provider's
// playlist; that provider never answers a details request.
class DetailsViews : public AppWindowTest {
protected:
    static void SetUpTestSuite()
    {
        provider = new XtreamProvider;
        provider->answer(u"get_vod_info"_qs, LoopbackResponse::stalled());
        provider->answer(u"get_series_info"_qs, LoopbackResponse::stalled());
        portal = new LoopbackServer;
        const Playlist playlist = provider->playlist();
        const QJsonObject record { { "mac", "00:1a:79:00:00:0a" }, { "device_key", "246801" },
            { "playlists",
                QJsonArray { QJsonObject { { "id", playlist.id }, { "name", playlist.name },
                    { "type", "xtream" }, { "host", *playlist.host }, { "username", *playlist.username },
                    { "password", *playlist.password } } } } };
        portal->serve(u"/api/app/device"_qs, LoopbackResponse::json(QJsonDocument(record).toJson()));
        qputenv("ZELFOR_SERVER", portal->baseUrl().toUtf8());
        ASSERT_TRUE(
            std::holds_alternative<DeviceResponse>(runTask(programServices().app()->refreshDevice())));
    }
    static void TearDownTestSuite()
    {
        delete portal;
        delete provider;
    }

    void SetUp() override
    {
        programServices().app()->setLanguage(u"en"_qs);
        programServices().app()->replace(Routes::Home {});
        showWindow();
    }

    static inline LoopbackServer *portal = nullptr;
    static inline XtreamProvider *provider = nullptr;
};

struct DetailsCase {
    const char *screen;
    ContentType type;
    bool favorite;
};

void PrintTo(const DetailsCase &row, std::ostream *os)
{
    *os << row.screen << (row.favorite ? " favourite" : "");
}

class DetailsWhileLoading : public DetailsViews, public ::testing::WithParamInterface<DetailsCase> { };

// Until the details answer, the movie and series screens draw the list item's own poster,
// backdrop and rating; a favourite series opens with its button saying so.
TEST_P(DetailsWhileLoading, DrawTheListItemAndItsFavourite)
{
    const DetailsCase &row = GetParam();
    const MediaItem item { .uid = 9,
        .type = row.type,
        .id = u"314"_qs,
        .name = u"Long Wait"_qs,
        .logo = provider->server().baseUrl() + u"/img/314.png"_qs,
        .rating = u"8.1"_qs };
    const FavoriteEntry favorite = PlayItems::favoriteOf(item, provider->playlist().id);
    if (row.favorite != programServices().prefs()->isFavorite(itemKey(favorite)))
        programServices().prefs()->toggleFavorite(favorite);
    programServices().app()->push(row.type == ContentType::movie ? Route { Routes::Movie { item } }
                                                                 : Route { Routes::Series { item } });
    // The request is out; its answer never comes.
    const QString action = row.type == ContentType::movie ? u"get_vod_info"_qs : u"get_series_info"_qs;
    ASSERT_TRUE(QTest::qWaitFor([&] { return provider->requestCount(action) >= 1; }));
    QQuickItem *screen = nullptr;
    ASSERT_TRUE(QTest::qWaitFor([&] {
        screen = itemNamed(window->contentItem(), QString::fromLatin1(row.screen));
        return screen && screen->isVisible();
    }));
    const auto drawn = [&](const char *name, const char *property) {
        QQuickItem *part = itemNamed(screen, QString::fromLatin1(name));
        return part ? part->property(property).toString() : u"<none>"_qs;
    };
    EXPECT_EQ(drawn("poster", "url"), *item.logo);
    EXPECT_EQ(drawn("backdrop", "url"), *item.logo);
    QStringList chips;
    for (QQuickItem *chip : itemsBelow(itemNamed(screen, u"chips"_qs)))
        if (chip->objectName() == u"chip"_qs)
            chips.append(chip->property("text").toString());
    EXPECT_EQ(chips, QStringList { *PosterRating::badge(item.rating) });
    if (row.type == ContentType::series)
        EXPECT_EQ(
            drawn("favoriteButton", "title"), row.favorite ? u"In favorites"_qs : u"Add to favorites"_qs);
    if (row.favorite)
        programServices().prefs()->toggleFavorite(favorite);
}

INSTANTIATE_TEST_SUITE_P(Screens, DetailsWhileLoading,
    ::testing::Values(DetailsCase { "movieScreen", ContentType::movie, false },
        DetailsCase { "seriesScreen", ContentType::series, false },
        DetailsCase { "seriesScreen", ContentType::series, true }));

} // namespace
