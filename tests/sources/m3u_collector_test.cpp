#include "sources/M3uCollector.h"

#include "PeakMemory.h"
#include "RunTask.h"
#include "model/ContentKeys.h"
#include "model/TextBounds.h"
#include "sources/AppError.h"

#include <QFile>

#include <gtest/gtest.h>

void PrintTo(const QString &text, std::ostream *out)
{
    *out << text.left(40).toStdString() << (text.size() > 40 ? "..." : "");
}

namespace {

const QString kUncategorized = u"Sans catégorie"_qs;

M3uCollector collectOneByOne(QByteArrayView text)
{
    M3uCollector collector(kUncategorized);
    M3uParser::parse(text, [&](M3uParser::Entry &&entry) { collector.add(std::move(entry)); });
    return collector;
}

QByteArray fixture(const char *name)
{
    QFile file(QStringLiteral(ZELFOR_TEST_DATA "/m3u/") + QLatin1StringView(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return file.readAll();
}

void expectSameContent(const M3uCollector &actual, const M3uCollector &expected)
{
    for (ContentType type : kAllContentTypes) {
        EXPECT_EQ(actual.items(type), expected.items(type)) << rawValue(type).toStdString();
        EXPECT_EQ(actual.categories(type), expected.categories(type)) << rawValue(type).toStdString();
    }
    EXPECT_EQ(actual.episodes, expected.episodes);
}

QList<QString> names(const MediaItems &items)
{
    QList<QString> result;
    for (const MediaItem &item : items)
        result.append(item.name);
    return result;
}

TEST(M3uCollector, SortsAProviderPlaylist)
{
    const M3uCollector collector = collectOneByOne(fixture("provider.m3u"));
    const QString h = QStringLiteral("http://127.0.0.1:8080");
    const MediaItems live = collector.items(ContentType::live);
    ASSERT_EQ(live.size(), 5);
    EXPECT_EQ(live.first(),
        (MediaItem { 0, ContentType::live, h + "/live/u/p/101.ts", "France Info HD", h + "/logo/news1.png",
            "FR | News", h + "/live/u/p/101.ts", "news1.fr", std::nullopt, std::nullopt, 1,
            Catchup { 1, "shift", {} } }));
    EXPECT_EQ(live.at(3).categoryId, PseudoCategory::uncategorized);
    EXPECT_EQ(live.at(4).uid, 4);
    EXPECT_EQ(live.at(4).num, 5);
    EXPECT_EQ(collector.categories(ContentType::live),
        (QList<CategoryName> { { "FR | News", "FR | News" }, { "Sports", "Sports" }, { "Radio", "Radio" },
            { PseudoCategory::uncategorized, kUncategorized } }));
    EXPECT_EQ(collector.items(ContentType::movie),
        (QList<MediaItem> { MediaItem { .type = ContentType::movie,
            .id = h + "/MOVIE/u/p/5001.mkv",
            .name = "The Film (2020)",
            .logo = h + "/p/1.jpg",
            .categoryId = "VOD | Drama",
            .url = h + "/MOVIE/u/p/5001.mkv",
            .num = 1 } }));

    const MediaItems shows = collector.items(ContentType::series);
    ASSERT_EQ(shows.size(), 2);
    const QString key = QStringLiteral("Series | Crime|Dark City");
    EXPECT_EQ(shows.first(),
        (MediaItem { .type = ContentType::series,
            .id = key,
            .name = "Dark City",
            .logo = h + "/c/9.jpg",
            .categoryId = "Series | Crime",
            .num = 1 }));
    EXPECT_EQ(shows.at(1).id, u"Series | Crime|Dark City Special");
    const QList<Episode> episodes = collector.episodes.value(key);
    ASSERT_EQ(episodes.size(), 2);
    EXPECT_EQ(episodes.front(),
        (Episode { .id = h + "/series/u/p/9002.mp4",
            .season = 1,
            .number = 2,
            .title = "Dark City S01E02",
            .url = h + "/series/u/p/9002.mp4",
            .image = h + "/c/9.jpg" }));
    EXPECT_EQ(episodes.at(1).number, 1);
}

TEST(M3uCollector, AddressDecidesTheContentType)
{
    const std::pair<const char *, ContentType> cases[] = { { "http://h/MoViE/1.mkv", ContentType::movie },
        { "http://h/series/movie/1.mkv", ContentType::movie },
        { "http://h/SERIES/2.mp4", ContentType::series }, { "http://h/movies/1.mkv", ContentType::live },
        { "http://h/movie.mkv", ContentType::live },
        { "http://h/\xC5\xBF"
          "eries/2.mp4",
            ContentType::live } };
    for (const auto &[url, expected] : cases) {
        const M3uCollector collector = collectOneByOne(QByteArray("#EXTINF:-1,Show S01E01\n") + url);
        for (ContentType type : kAllContentTypes)
            EXPECT_EQ(collector.items(type).size(), type == expected ? 1 : 0) << url;
    }
}

TEST(M3uCollector, GroupsEpisodesIntoShows)
{
    const M3uCollector collector = collectOneByOne(
        "#EXTINF:-1 group-title=\"A\" tvg-logo=\"first\",Tale S01E03\nhttp://h/series/1\n"
        "#EXTINF:-1 group-title=\"B\",Tale S02E01\nhttp://h/series/2\n"
        "#EXTINF:-1 group-title=\"A\" tvg-logo=\"second\",Tale Bonus\nhttp://h/series/3\n"
        "#EXTINF:-1 group-title=\"A\",Tale\nhttp://h/series/4\n"
        "#EXTINF:-1 group-title=\"A\",Tale Bonus\nhttp://h/series/5\n"
        "#EXTINF:-1,S01E05\nhttp://h/series/6\n");
    EXPECT_EQ(names(collector.items(ContentType::series)),
        (QList<QString> { u"Tale"_qs, u"Tale"_qs, u"Tale Bonus"_qs, u"S01E05"_qs }));
    const QList<Episode> a = collector.episodes.value(u"A|Tale"_qs);
    ASSERT_EQ(a.size(), 2);
    EXPECT_EQ(a.at(0).number, 3);
    EXPECT_EQ(a.at(1).number, 2); // no marker: episodes so far + 1
    EXPECT_EQ(collector.episodes.value(u"A|Tale Bonus"_qs).at(1).number, 2);
    EXPECT_EQ(collector.items(ContentType::series).at(2).logo, u"second"_qs);
    EXPECT_EQ(collector.episodes.value(u"B|Tale"_qs).front().season, 2);
    EXPECT_EQ(collector.items(ContentType::series).at(3).categoryId, PseudoCategory::uncategorized);
}

// A text whose shows, groups and marker-less episodes run across every piece.
QByteArray interleavedText(int entries)
{
    QByteArray text = "#EXTM3U\n";
    for (int i = 0; i < entries; ++i) {
        const QByteArray n = QByteArray::number(i);
        const QByteArray group = "G" + QByteArray::number(i % 7);
        switch (i % 4) {
        case 0:
            text += "#EXTINF:-1 tvg-id=\"c" + n + "\" group-title=\"" + group + "\",Channel " + n
                + "\nhttp://h/live/" + n + "\n";
            break;
        case 1:
            text += "#EXTGRP:" + group + "\n#EXTINF:-1,Film " + n + "\nhttp://h/movie/" + n + ".mkv\n";
            break;
        case 2:
            text += "#EXTINF:-1 group-title=\"" + group + "\",Show " + QByteArray::number(i % 5) + " S01E"
                + QByteArray::number(i % 9) + "\nhttp://h/series/" + n + "\n";
            break;
        default:
            text += "#EXTINF:-1 tvg-logo=\"l" + n + "\",Show " + QByteArray::number(i % 3)
                + " Extra\nhttp://h/series/" + n + "\n";
        }
    }
    return text;
}

TEST(M3uCollector, AppendingPiecesEqualsAddingOneByOne)
{
    const QByteArray text = interleavedText(300);
    const M3uCollector whole = collectOneByOne(text);
    for (int parts : { 2, 3, 7, 50 }) {
        const QList<QByteArrayView> pieces = M3uParser::splitAtEntries(text, parts);
        ASSERT_EQ(pieces.size(), parts);
        M3uCollector merged = collectOneByOne(pieces.front());
        for (qsizetype i = 1; i < pieces.size(); ++i)
            merged.append(collectOneByOne(pieces.at(i)));
        expectSameContent(merged, whole);
        // The collector's own split, one piece after another, sizes its lists the same.
        expectSameContent(M3uCollector::collect(text, kUncategorized, M3uSplit { parts, false }), whole);
    }
}

TEST(M3uCollector, ParallelCollectingEqualsAddingOneByOne)
{
    const QByteArray text = interleavedText(40000); // several pieces of the parallel threshold
    ASSERT_GT(text.size(), 2 * 1024 * 1024);
    const M3uCollector expected = collectOneByOne(text);
    expectSameContent(M3uCollector::collect(text, kUncategorized, 8), expected);
    expectSameContent(M3uCollector::collect(text, kUncategorized, 1), expected);
    QByteArray given(text.constData(), text.size());
    expectSameContent(M3uCollector::collect(given, kUncategorized, 8, ReadBytes::giveBack), expected);
    EXPECT_EQ(buildM3uContent(QByteArray(text.constData(), text.size()), kUncategorized)->live->all,
        expected.items(ContentType::live));
    // Text the caller still holds is read, never given back.
    EXPECT_EQ(buildM3uContent(text, kUncategorized)->live->all, expected.items(ContentType::live));
    EXPECT_EQ(text, interleavedText(40000));
}

// Address lines whose type or whose being an address depends on more than ASCII: the
// parallel collector sizes its lists from the raw lines, so it must read them as the parser does.
TEST(M3uCollector, ParallelCollectingTypesRawAddressesAsTheParser)
{
    const char *const tricky[] = {
        "#EXTINF:-1,Film\r\nhttp://h/\xC3/movie/1.mkv\r\n", // a lead byte without its continuation
        "#EXTINF:-1,Film\nhttp://h/MoViE/2\n\n\n", // any case, blank lines
        "#EXTINF:-1,Show S01E01\nhttp://h/\xE2\x82/series/3\n", // a cut three-byte sequence
        "#EXTINF:-1,Ch\n#\xCC\x81http://h/movie/4\n", // '#' with a mark joined: an address
        "#EXTINF:-1,Ch\n# just a comment\rhttp://h/live/\xFF"
        "5\r", // CR line ends, a stray byte
        "#EXTINF:-1,Film\n\xEF\xBB\xBFhttp://h/movie/\xF0\x9F\x8E\xAC"
        "6\n", // a byte-order mark, an emoji
        "#EXTINF:-1,Ch\nhttp://h/movies/7\n", // no whole "/movie/" piece
    };
    QByteArray text = "#EXTM3U\n";
    for (int round = 0; text.size() < 3 * 1024 * 1024; ++round) {
        for (const char *line : tricky)
            text += line;
        text += "#EXTINF:-1 group-title=\"R" + QByteArray::number(round % 13) + "\",Ch\nhttp://h/live/x\n";
    }
    const M3uCollector expected = collectOneByOne(text);
    ASSERT_GT(expected.items(ContentType::movie).size(), 1000);
    ASSERT_GT(expected.items(ContentType::series).size(), 0);
    expectSameContent(M3uCollector::collect(text, kUncategorized, 8), expected);
}

TEST(M3uContent, BuildsTheThreeSections)
{
    const std::optional<M3uContent> content
        = runTask(buildM3uContentAsync(fixture("provider.m3u"), kUncategorized));
    ASSERT_TRUE(content);
    EXPECT_EQ(content->live->type, ContentType::live);
    EXPECT_EQ(content->live->all.size(), 5);
    EXPECT_EQ(content->live->byCategory.value(PseudoCategory::uncategorized).size(), 2);
    EXPECT_EQ(
        content->live->categories.back(), (Category { PseudoCategory::uncategorized, kUncategorized, 2 }));
    EXPECT_EQ(content->movie->categories, (QList<Category> { { u"VOD | Drama"_qs, u"VOD | Drama"_qs, 1 } }));
    EXPECT_EQ(content->series->type, ContentType::series);
    EXPECT_EQ(content->series->all.size(), 2);
    EXPECT_EQ(content->episodes.size(), 2);
}

TEST(M3uContent, NothingForATextWithoutEntries)
{
    EXPECT_FALSE(buildM3uContent("#EXTM3U\n#EXTINF:-1,Never played\n\n", kUncategorized));
    EXPECT_FALSE(buildM3uContent("", kUncategorized));
}

// The live names of a text, or nothing when it is refused as unexpected data.
std::optional<QStringList> liveNames(const QByteArray &text)
{
    try {
        const std::optional<M3uContent> content = buildM3uContent(text, kUncategorized);
        return content ? names(content->live->all) : QStringList();
    } catch (const AppError &error) {
        EXPECT_EQ(error, AppError::badData());
        return std::nullopt;
    }
}

TEST(M3uContent, WebPagesAndBinaryAreNoPlaylistButHeaderlessListsAre)
{
    const struct {
        const char *label;
        QByteArray text;
        std::optional<QStringList> live;
    } rows[] = {
        { "web page", "<!DOCTYPE html>\n<html><body>Account expired</body></html>\n", std::nullopt },
        { "page after marks", "\xEF\xBB\xBF \r\n\t<html>\nhttp://h/live/1.ts\n", std::nullopt },
        { "NUL name", "#EXTM3U\n#EXTINF:-1," + QByteArray(100000, '\0') + "\nhttp://h/1\n", std::nullopt },
        { "NUL at the end", "#EXTM3U\n#EXTINF:-1,A\nhttp://h/1\n" + QByteArray(1, '\0'), std::nullopt },
        { "addresses only", "http://h/live/1.ts\r\nhttp://h/live/2.ts?t=<x>\n",
            QStringList { "1.ts", "2.ts" } },
        { "no header", "\n#EXTINF:-1,<One>\nhttp://h/1\n", QStringList { "<One>" } },
    };
    for (const auto &row : rows)
        EXPECT_EQ(liveNames(row.text), row.live) << row.label;
}

// A hostile name of hundreds of MB costs its bytes being read, not copies of it.
TEST(M3uContent, HugeNameCostsLessThanOneCopyOfIt)
{
    if (!PeakMemory::measurable())
        GTEST_SKIP() << "the sanitizers keep freed memory";
    constexpr qsizetype kNameBytes = 300 * 1024 * 1024;
    const QByteArray head = "#EXTM3U\n#EXTINF:-1,";
    QByteArray text;
    text.reserve(head.size() + kNameBytes + 32);
    text.append(head).append(kNameBytes, 'A').append("\nhttp://h/live/1.ts\n");
    PeakMemory::reset();
    const qint64 baseline = PeakMemory::bytes();
    const std::optional<M3uContent> content = buildM3uContent(std::move(text), kUncategorized);
    const qint64 cost = PeakMemory::bytes() - baseline;
    ASSERT_TRUE(content);
    EXPECT_TRUE(content->live->all.name(0) == QString(TextBounds::kName, u'A'))
        << content->live->all.textSize(0, MediaItems::Text::name) << " characters";
    EXPECT_LT(cost, kNameBytes);
}

} // namespace
