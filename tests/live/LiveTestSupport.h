#pragma once

#include "model/Records.h"
#include "sources/SectionBuilder.h"

#include <QList>

// Channels of playlist 7 for the live tests: two listed categories, a channel id used twice
// and a name with accents.
namespace LiveFixture {

inline constexpr qint64 kPlaylistId = 7;

inline MediaItem channel(qint64 uid, const QString &id, const QString &name, const QString &category,
    qint64 num, qint64 catchupDays = 0)
{
    MediaItem item;
    item.uid = uid;
    item.id = id;
    item.name = name;
    item.categoryId = category;
    item.num = num;
    item.url = QStringLiteral("http://127.0.0.1:9/live/%1.ts").arg(id);
    if (catchupDays > 0)
        item.catchup = Catchup { catchupDays, QStringLiteral("default"), std::nullopt };
    return item;
}

inline QList<MediaItem> channels()
{
    return {
        channel(1, "101", "Alpha News", "n", 5),
        channel(2, "102", "Beta Sport", "s", 7, 3),
        channel(3, "103", "Gamma News", "n", 9),
        channel(4, "104", "Été Plus", "s", 0),
        channel(5, "102", "Beta Sport Two", "n", 11),
    };
}

inline SectionPtr section()
{
    return buildSection(ContentType::live, { { "n", "News" }, { "s", "Sport" }, { "x", "Empty" } },
        channels(), QStringLiteral("Uncategorized"));
}

inline FavoriteEntry favorite(qint64 playlistId, ContentType type, const QString &id)
{
    FavoriteEntry entry;
    entry.playlistId = playlistId;
    entry.type = type;
    entry.id = id;
    return entry;
}

inline QString key(const QString &id)
{
    return QStringLiteral("7|LIVE|") + id;
}

} // namespace LiveFixture
