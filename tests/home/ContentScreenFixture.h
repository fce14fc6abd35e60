#pragma once

#include "../app/AppStateFixture.h"
#include "XtreamProvider.h"
#include "sources/Catalog.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

// A provider's list of that content type whose items carry these names (ids 1, 2, ...).
inline QByteArray xtreamList(ContentType type, const QStringList &names)
{
    QJsonArray list;
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QString id = QString::number(i + 1);
        QJsonObject item { { u"num"_qs, int(i + 1) }, { u"name"_qs, names[i] },
            { u"category_id"_qs, u"1"_qs },
            { u"stream_icon"_qs, u"http://127.0.0.1:9/logo"_qs + id + u".png"_qs } };
        item.insert(type == ContentType::series ? u"series_id"_qs : u"stream_id"_qs, id);
        list.append(item);
    }
    return QJsonDocument(list).toJson(QJsonDocument::Compact);
}

inline QString listAction(ContentType type)
{
    switch (type) {
    case ContentType::live:
        return u"get_live_streams"_qs;
    case ContentType::movie:
        return u"get_vod_streams"_qs;
    case ContentType::series:
        return u"get_series"_qs;
    }
    return {};
}

// The shared state of a device whose one playlist is the loopback provider's account, a
// catalog over it, and the home and given screen stacked; `withPlaylist` false leaves the
// device without playlists.
class ContentScreenFixture {
public:
    explicit ContentScreenFixture(Route screen, bool withPlaylist = true)
        : catalog(&state.http.http(), &state.clock, [] { return u"Other"_qs; })
    {
        DeviceResponse device = AppStateFixture::device({});
        if (withPlaylist)
            device.playlists = { provider.playlist() };
        state.cacheDevice(device);
        state.makeState({ Routes::Home {}, std::move(screen) });
    }

    void serve(ContentType type, const QStringList &names)
    {
        provider.answer(listAction(type), LoopbackResponse::json(xtreamList(type, names)));
    }

    AppState &app() { return *state.state; }
    // What the screen works with: the state's deps and this catalog.
    ScreenDeps screenDeps()
    {
        ScreenDeps deps = state.screenDeps();
        deps.catalog = &catalog;
        return deps;
    }
    Prefs &prefs() { return *state.prefs; }
    qint64 playlistId() const { return provider.playlist().id; }

    XtreamProvider provider;
    AppStateFixture state;
    Catalog catalog;
};
