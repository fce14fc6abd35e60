#include "model/RecordHash.h"

#include <QSet>

#include <gtest/gtest.h>

#include <functional>

namespace {

template <typename T>
void expectEveryFieldCounts(const T &base, const std::vector<std::function<void(T &)>> &changes)
{
    T copy = base;
    EXPECT_EQ(qHash(copy), qHash(base));
    for (std::size_t i = 0; i < changes.size(); ++i) {
        T changed = base;
        changes[i](changed);
        EXPECT_NE(changed, base) << "change " << i;
        EXPECT_NE(qHash(changed), qHash(base)) << "change " << i;
    }
}

MediaItem sampleItem()
{
    MediaItem item;
    item.uid = 3;
    item.id = QStringLiteral("42");
    item.name = QStringLiteral("News");
    item.categoryId = QStringLiteral("7");
    item.logo = QStringLiteral("http://logo");
    item.num = 5;
    return item;
}

TEST(RecordHash, mediaItemHashTakesEveryField)
{
    expectEveryFieldCounts<MediaItem>(sampleItem(),
        { [](MediaItem &m) { m.uid = 4; }, [](MediaItem &m) { m.type = ContentType::movie; },
            [](MediaItem &m) { m.id = "43"; }, [](MediaItem &m) { m.name = "Other"; },
            [](MediaItem &m) { m.logo.reset(); }, [](MediaItem &m) { m.categoryId = "8"; },
            [](MediaItem &m) { m.url = QString(); }, [](MediaItem &m) { m.epgId = "e"; },
            [](MediaItem &m) { m.ext = "ts"; }, [](MediaItem &m) { m.rating = "5"; },
            [](MediaItem &m) { m.num = 6; }, [](MediaItem &m) { m.catchup = Catchup {}; } });
}

TEST(RecordHash, storedRecordsHashTakesNestedValues)
{
    PlayItem item;
    item.key = QStringLiteral("1|LIVE|2");
    item.favorite = FavoriteEntry {};
    expectEveryFieldCounts<PlayItem>(item,
        { [](PlayItem &p) {
             p.favorite->catchup = Catchup { 2, "xc", std::nullopt };
         },
            [](PlayItem &p) { p.favorite.reset(); }, [](PlayItem &p) { p.live = true; },
            [](PlayItem &p) { p.catchup = true; }, [](PlayItem &p) { p.fallbackUrl = "u"; },
            [](PlayItem &p) { p.subtitle = "s"; }, [](PlayItem &p) { p.number = 1; } });
    expectEveryFieldCounts<Playlist>(Playlist { 1, "A", "m3u", "http://u", {}, {}, {}, {} },
        { [](Playlist &p) { p.url.reset(); }, [](Playlist &p) { p.host = "http://u"; },
            [](Playlist &p) { p.epg_url = ""; }, [](Playlist &p) { p.type = "xtream"; } });
    expectEveryFieldCounts<Episode>(Episode { "9", 1, 2, "E2", {}, {}, {}, {}, 0 },
        { [](Episode &e) { e.durationSecs.reset(); }, [](Episode &e) { e.season = 2; },
            [](Episode &e) { e.image = "i"; } });
}

TEST(RecordHash, equalItemsShareOneSetEntry)
{
    QSet<MediaItem> items { sampleItem(), sampleItem() };
    MediaItem other = sampleItem();
    other.uid = 9;
    items.insert(other);
    EXPECT_EQ(items.size(), 2);
    EXPECT_TRUE(items.contains(other));
}

} // namespace
