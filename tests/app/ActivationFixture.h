#pragma once

#include "AppStateFixture.h"
#include "LoopbackServer.h"
#include "app/ActivationScreen.h"
#include "app/KeyRouter.h"
#include "app/Localization.h"
#include "sources/Catalog.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>

#include <gtest/gtest.h>

#include <memory>

inline const QString kDevicePath = QStringLiteral("/api/app/device");

// A portal record with `playlistCount` playlists (ids 10, 11, ...).
inline QByteArray portalRecord(int playlistCount)
{
    QJsonArray playlists;
    for (int i = 0; i < playlistCount; ++i)
        playlists.append(QJsonObject { { QStringLiteral("id"), 10 + i }, { QStringLiteral("name"), QStringLiteral("P") },
            { QStringLiteral("url"), QStringLiteral("http://127.0.0.1:9/p.m3u") } });
    return QJsonDocument(QJsonObject { { QStringLiteral("mac"), QStringLiteral("00:1a:79:00:00:02") },
                             { QStringLiteral("device_key"), QStringLiteral("777111") },
                             { QStringLiteral("playlists"), playlists } })
        .toJson();
}

// A device screen over a loopback portal, a virtual clock, its own catalog and a browser
// that only records what it was asked to open.
class ActivationFixture : public ::testing::Test {
protected:
    void SetUp() override { setActiveLanguage(QStringLiteral("en")); }

    // The screen on a stack of `depth` entries: a lone activation entry, or pushed over home.
    ActivationScreen &start(int depth = 1)
    {
        AppState &state = fixture.makeState();
        state.replace(depth == 1 ? Route(Routes::Activation {}) : Route(Routes::Home {}));
        if (depth > 1)
            state.push(Routes::Activation {});
        router = std::make_unique<KeyRouter>(&state, KeyRouterHooks { .clock = &fixture.clock });
        ActivationHooks hooks { .clock = &fixture.clock,
            .catalog = &catalog,
            .openUrl = [this](const QUrl &url) {
                opened.append(url);
                return true;
            },
            .portalAddress = fixture.portal };
        screen = std::make_unique<ActivationScreen>(&state, router.get(), std::move(hooks));
        screen->setActive(true);
        return *screen;
    }
    QString route() const { return routeName(fixture.state->current()); }

    LoopbackServer server;
    AppStateFixture fixture { server.baseUrl() };
    Catalog catalog { &fixture.http.http(), [] { return QDateTime::currentDateTimeUtc(); },
        [] { return QStringLiteral("Uncategorized"); } };
    QList<QUrl> opened;
    std::unique_ptr<KeyRouter> router;
    std::unique_ptr<ActivationScreen> screen;
};
