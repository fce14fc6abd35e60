#include "model/RecordHash.h"

#include <QSet>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Each change must make the record unequal and change its hash.
template <typename T>
void expectEveryFieldCounts(const T &base, const std::vector<std::function<void(T &)>> &changes)
{
    EXPECT_EQ(qHash(T(base)), qHash(base));
    for (std::size_t i = 0; i < changes.size(); ++i) {
        T changed = base;
        changes[i](changed);
        EXPECT_NE(changed, base) << "change " << i;
        EXPECT_NE(qHash(changed), qHash(base)) << "change " << i;
    }
}

const MediaItem kItem {
    .uid = 3, .id = "42", .name = "News", .logo = "http://logo", .categoryId = "7", .num = 5
};

TEST(RecordHash, mediaItemHashTakesEveryField)
{
    using M = MediaItem &;
    expectEveryFieldCounts<MediaItem>(kItem,
        { [](M m) { m.uid = 4; }, [](M m) { m.type = ContentType::movie; }, [](M m) { m.id = "43"; },
            [](M m) { m.name = "Other"; }, [](M m) { m.logo.reset(); }, [](M m) { m.categoryId = "8"; },
            [](M m) { m.url = QString(); }, [](M m) { m.epgId = "e"; }, [](M m) { m.ext = "ts"; },
            [](M m) { m.rating = "5"; }, [](M m) { m.num = 6; }, [](M m) { m.catchup = Catchup {}; } });
}

TEST(RecordHash, storedRecordsHashTakesNestedValues)
{
    using P = PlayItem &;
    expectEveryFieldCounts<PlayItem>(PlayItem { .key = "1|LIVE|2", .favorite = FavoriteEntry {} },
        { [](P p) {
             p.favorite->catchup = Catchup { 2, "xc", std::nullopt };
         },
            [](P p) { p.favorite.reset(); }, [](P p) { p.live = true; }, [](P p) { p.catchup = true; },
            [](P p) { p.fallbackUrl = "u"; }, [](P p) { p.subtitle = "s"; }, [](P p) { p.number = 1; } });
    expectEveryFieldCounts<Playlist>(Playlist { 1, "A", "m3u", "http://u", {}, {}, {}, {} },
        { [](Playlist &p) { p.url.reset(); }, [](Playlist &p) { p.host = "http://u"; },
            [](Playlist &p) { p.epg_url = ""; }, [](Playlist &p) { p.type = "xtream"; } });
    expectEveryFieldCounts<Episode>(Episode { "9", 1, 2, "E2", {}, {}, {}, {}, 0 },
        { [](Episode &e) { e.durationSecs.reset(); }, [](Episode &e) { e.season = 2; },
            [](Episode &e) { e.image = "i"; } });
}

TEST(RecordHash, equalItemsShareOneSetEntry)
{
    MediaItem other = kItem;
    other.uid = 9;
    const QSet<MediaItem> items { kItem, MediaItem(kItem), other };
    EXPECT_EQ(items.size(), 2);
    EXPECT_TRUE(items.contains(other));
}

} // namespace
