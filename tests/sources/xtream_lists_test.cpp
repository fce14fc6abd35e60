#include "XtreamProvider.h"
#include "sources/AppError.h"
#include "sources/XtreamClient.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string text(const OptText &value)
{
    return value ? value->toStdString() : std::string("<absent>");
}

std::string catchupText(const std::optional<Catchup> &catchup)
{
    return catchup ? std::to_string(catchup->days) + ' ' + catchup->mode.toStdString() + ' ' + text(catchup->source) : "none";
}

struct BodyCase {
    const char *body;
    bool isArray;
    bool refused;
};

class ListBody : public testing::TestWithParam<BodyCase> {};

TEST_P(ListBody, TellsArraysFromRefusals)
{
    const BodyCase &c = GetParam();
    const QByteArray body(c.body);
    if (c.refused) {
        try {
            XtreamClient::checkListBody(body);
            FAIL() << "no refusal for " << c.body;
        } catch (const AppError &error) {
            EXPECT_EQ(error.kind(), AppError::Kind::xtreamAuth);
        }
        return;
    }
    EXPECT_EQ(XtreamClient::checkListBody(body), c.isArray) << c.body;
}

INSTANTIATE_TEST_SUITE_P(Bodies, ListBody,
    testing::Values(BodyCase { "[]", true, false }, BodyCase { "\xEF\xBB\xBF \r\n\t[{\"a\":1}", true, false },
                    BodyCase { "\xBB\xEF[", true, false }, BodyCase { " \n\t ", false, false },
                    BodyCase { "", false, false }, BodyCase { "null", false, false },
                    BodyCase { "<html>[</html>", false, false },
                    BodyCase { "{\"user_info\":{\"auth\":0}}", false, true },
                    BodyCase { "{\"user_info\": {\"auth\": 0, \"status\":\"Banned\"}}", false, true },
                    BodyCase { "{\"user_info\":{\"auth\":1}}", false, false },
                    BodyCase { "{\"user_info\":{\"auth\":  0}}", false, false },
                    BodyCase { "{\"user_info\":{\"auth\":\"0\"}}", false, false }));

TEST(XtreamLists, RefusalIsOnlySeenInTheFirst4096Bytes)
{
    const QByteArray padding(4096, ' ');
    EXPECT_FALSE(XtreamClient::checkListBody("{" + padding + "\"auth\":0}"));
    EXPECT_THROW(XtreamClient::checkListBody("{" + padding.left(4000) + "\"auth\":0}"), AppError);
}

TEST(XtreamLists, CategoriesSkipBrokenElementsAndReadLooseTypes)
{
    const QList<XCategory> categories = XtreamClient::decodeCategories(XtreamProvider::fixture("live_categories.json"));
    const QList<XCategory> expected {
        { QStringLiteral("1"), QStringLiteral("News") },
        { QStringLiteral("2"), QStringLiteral("Sport / Live") },
        { std::nullopt, QStringLiteral("No id") },
        { QStringLiteral("7"), std::nullopt },
        { QStringLiteral("9"), std::nullopt },
        { QStringLiteral("3"), QStringLiteral("Empty") },
    };
    EXPECT_EQ(categories, expected);
    EXPECT_TRUE(XtreamClient::decodeCategories("[1, 2").isEmpty());
    EXPECT_TRUE(XtreamClient::decodeCategories("{\"a\":[]}").isEmpty());
}

TEST(XtreamLists, StreamsOfAnUndecodableBodyAreBadData)
{
    try {
        XtreamClient::decodeStreams("[{\"stream_id\":1},");
        FAIL() << "no error";
    } catch (const AppError &error) {
        EXPECT_EQ(error.kind(), AppError::Kind::badData);
    }
    EXPECT_TRUE(XtreamClient::decodeStreams("{\"user_info\":{\"auth\":1}}").isEmpty());
    EXPECT_THROW(XtreamClient::decodeMediaItems("[{\"stream_id\":1}", ContentType::live), AppError);
}

TEST(XtreamLists, FirstOccurrenceOfARepeatedKeyWins)
{
    const QList<XStream> streams = XtreamClient::decodeStreams(R"([{"stream_id":null,"stream_id":"8","name":"A","name":"B"}])");
    ASSERT_EQ(streams.size(), 1);
    EXPECT_EQ(text(streams[0].streamId), "<absent>");
    EXPECT_EQ(text(streams[0].name), "A");
}

struct ItemRow {
    const char *id;
    const char *name;
    qint64 num;
    const char *categoryId;
    const char *logo;
    const char *rating;
    const char *catchup;
};

void expectItems(const QList<MediaItem> &items, ContentType type, const std::vector<ItemRow> &rows)
{
    ASSERT_EQ(items.size(), qsizetype(rows.size()));
    for (qsizetype i = 0; i < items.size(); ++i) {
        const MediaItem &item = items[i];
        const ItemRow &row = rows[std::size_t(i)];
        SCOPED_TRACE(row.id);
        EXPECT_EQ(item.uid, i);
        EXPECT_EQ(item.type, type);
        EXPECT_EQ(item.id.toStdString(), row.id);
        EXPECT_EQ(item.name.toStdString(), row.name);
        EXPECT_EQ(item.num, row.num);
        EXPECT_EQ(item.categoryId.toStdString(), row.categoryId);
        EXPECT_EQ(text(item.logo), row.logo);
        EXPECT_EQ(text(item.rating), row.rating);
        EXPECT_EQ(catchupText(item.catchup), row.catchup);
        EXPECT_FALSE(item.url.has_value());
    }
}

TEST(XtreamLists, LiveStreamsBecomeChannelsWithSaneNumbersAndArchiveDays)
{
    const QList<XStream> streams = XtreamClient::decodeStreams(XtreamProvider::fixture("live_streams.json"));
    EXPECT_EQ(streams.size(), 8); // three elements are not objects
    const QList<MediaItem> items = XtreamClient::mediaItems(streams, ContentType::live);
    expectItems(items, ContentType::live,
                {
                    { "101", "News One", 1, "1", "http://127.0.0.1/logos/news1.png", "<absent>", "3 xc <absent>" },
                    { "102", "Sport HD", 2, "2", "<absent>", "<absent>", "1 xc <absent>" },
                    { "103", "103", 3, "__uncat__", "<absent>", "<absent>", "none" },
                    // an overflowing archive duration counts as unreadable
                    { "104", "Archive Forever", 4, "8", "<absent>", "<absent>", "1 xc <absent>" },
                    // num 1e300 is out of range; 1000 days are clamped to a year
                    { "105", "Big Number", 5, "1", "<absent>", "<absent>", "365 xc <absent>" },
                    { "106", "Not A Number", 6, "1", "<absent>", "<absent>", "1 xc <absent>" },
                    { "107", "Twelve", 12, "1", "<absent>", "<absent>", "1 xc <absent>" },
                });
    EXPECT_EQ(text(items[0].epgId), "news1.fr");
    EXPECT_EQ(text(items[1].epgId), "<absent>");
}

TEST(XtreamLists, MoviesKeepExtensionsAndDropZeroRatingsAndArchives)
{
    const QList<MediaItem> items =
        XtreamClient::mediaItems(XtreamClient::decodeStreams(XtreamProvider::fixture("vod_streams.json")), ContentType::movie);
    expectItems(items, ContentType::movie,
                {
                    { "201", "Heat", 1, "10", "http://127.0.0.1/posters/heat.jpg", "7.8", "none" },
                    { "202", "Quiet", 2, "11", "http://127.0.0.1/posters/quiet.jpg", "<absent>", "none" },
                    { "203", "203", 3, "99", "<absent>", "<absent>", "none" },
                    { "204", "Rated As Number", 4, "10", "<absent>", "6.5", "none" },
                });
    EXPECT_EQ(text(items[0].ext), "mkv");
    EXPECT_EQ(text(items[3].ext), "<absent>");
}

TEST(XtreamLists, SeriesUseSeriesIdsAndCovers)
{
    const QList<MediaItem> items =
        XtreamClient::mediaItems(XtreamClient::decodeStreams(XtreamProvider::fixture("series.json")), ContentType::series);
    expectItems(items, ContentType::series,
                {
                    { "301", "The Wire", 1, "20", "http://127.0.0.1/covers/wire.jpg", "9", "none" },
                    { "303", "Blank Cover", 3, "20", "<absent>", "<absent>", "none" },
                });
}

struct FusedCase {
    const char *fixture;
    ContentType type;
};

class FusedItems : public testing::TestWithParam<FusedCase> {};

TEST_P(FusedItems, MatchTheTwoStepDecoding)
{
    const QByteArray body = XtreamProvider::fixture(QString::fromUtf8(GetParam().fixture));
    const QList<MediaItem> twoStep = XtreamClient::mediaItems(XtreamClient::decodeStreams(body), GetParam().type);
    EXPECT_FALSE(twoStep.isEmpty());
    EXPECT_EQ(XtreamClient::decodeMediaItems(body, GetParam().type), twoStep);
}

INSTANTIATE_TEST_SUITE_P(Lists, FusedItems,
    testing::Values(FusedCase { "live_streams.json", ContentType::live }, FusedCase { "live_streams.json", ContentType::movie },
                    FusedCase { "vod_streams.json", ContentType::movie }, FusedCase { "vod_streams.json", ContentType::live },
                    FusedCase { "series.json", ContentType::series }));

TEST(XtreamLists, LargeListsKeepElementOrderAcrossWorkers)
{
    QByteArray body = "[";
    for (int i = 0; i < 20000; ++i) {
        if (i)
            body += ',';
        body += i % 997 == 5 ? QByteArray("\"skip\"")
                             : "{\"num\":\"" + QByteArray::number(i) + "\",\"stream_id\":" + QByteArray::number(i) + "}";
    }
    body += ']';
    const QList<MediaItem> items = XtreamClient::decodeMediaItems(body, ContentType::movie);
    EXPECT_EQ(XtreamClient::mediaItems(XtreamClient::decodeStreams(body), ContentType::movie), items);
    ASSERT_EQ(items.size(), 20000 - 21);
    qint64 expected = 0;
    for (const MediaItem &item : items) {
        if (expected % 997 == 5)
            ++expected;
        ASSERT_EQ(item.id, QString::number(expected));
        ASSERT_EQ(item.num, expected);
        ++expected;
    }
}

struct LargeCase {
    const char *name;
    // the JSON of element i, or nullptr for a body that is broken at its end
    std::string (*element)(int i);
};

void PrintTo(const LargeCase &c, std::ostream *out)
{
    *out << c.name;
}

class LargeLists : public testing::TestWithParam<LargeCase> {};

std::string idOf(int i)
{
    return std::to_string(i);
}

// Bodies long enough to be read in pieces: texts and nested values that look like the
// places where a list is cut, and ids and numbers missing here and there.
TEST_P(LargeLists, ReadLikeTheirElements)
{
    constexpr int kCount = 12000;
    QByteArray body = "[";
    std::vector<std::string> ids;
    std::vector<qint64> nums;
    for (int i = 0; i < kCount; ++i) {
        body += (i ? ",\n" : "") + QByteArray::fromStdString(GetParam().element(i));
        if (i % 7 != 3) {
            ids.push_back(idOf(i));
            nums.push_back(i % 5 == 0 ? qint64(ids.size()) : i * 10);
        }
    }
    body += "]";
    ASSERT_GT(body.size(), 1024 * 1024);
    const QList<MediaItem> items = XtreamClient::decodeMediaItems(body, ContentType::live);
    EXPECT_EQ(XtreamClient::mediaItems(XtreamClient::decodeStreams(body), ContentType::live), items);
    ASSERT_EQ(items.size(), qsizetype(ids.size()));
    for (qsizetype i = 0; i < items.size(); ++i) {
        ASSERT_EQ(items[i].uid, i);
        ASSERT_EQ(items[i].id.toStdString(), ids[std::size_t(i)]);
        ASSERT_EQ(items[i].name.toStdString(), "n},{\"x\":[" + ids[std::size_t(i)] + "]}");
        ASSERT_EQ(items[i].num, nums[std::size_t(i)]);
    }
    body.chop(1);
    body += ",{\"stream_id\":1,\"name\":tru}]";
    EXPECT_THROW(XtreamClient::decodeMediaItems(body, ContentType::live), AppError);
    EXPECT_THROW(XtreamClient::decodeStreams(body), AppError);
}

// Element i: no usable id when i % 7 == 3, no number when i % 5 == 0, a padded name.
std::string commonFields(int i)
{
    std::string fields = "\"stream_id\":" + (i % 7 == 3 ? std::string(i % 2 ? "null" : "\" \"") : "\"" + idOf(i) + "\"");
    if (i % 5 != 0)
        fields += ",\"num\":" + std::to_string(i * 10);
    fields += ",\"name\":\"n},{\\\"x\\\":[" + idOf(i) + "]}\"";
    return fields + ",\"stream_icon\":\"http://127.0.0.1/logo/" + std::string(40, 'l') + ".png\"";
}

INSTANTIATE_TEST_SUITE_P(Bodies, LargeLists,
    testing::Values(LargeCase { "flat", [](int i) { return "{" + commonFields(i) + "}"; } },
                    LargeCase { "nested objects",
                                [](int i) { return "{\"extra\":[{\"a\":1},{\"b\":{}}]," + commonFields(i) + ",\"more\":{\"c\":[{}, {}]}}"; } },
                    LargeCase { "other values between",
                                [](int i) { return "{" + commonFields(i) + "}" + (i % 100 == 1 ? ",\"},{\",[{},{}],7" : ""); } }));

} // namespace
