#include "XtreamProvider.h"
#include "sources/AppError.h"
#include "sources/XtreamClient.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

void PrintTo(const QString &text, std::ostream *out)
{
    *out << text.toStdString();
}

namespace {

std::optional<AppError::Kind> errorKind(const std::function<void()> &read)
{
    try {
        read();
    } catch (const AppError &error) {
        return error.kind();
    }
    return std::nullopt;
}

TEST(XtreamLists, BodyCheckTellsArraysFromRefusals)
{
    const std::pair<const char *, bool> lists[] = { { "[]", true }, { "\xEF\xBB\xBF \r\n\t[{\"a\":1}", true },
        { "\xBB\xEF[", true }, { " \n\t ", false }, { "", false }, { "null", false },
        { "<html>[</html>", false }, { "{\"user_info\":{\"auth\":1}}", false },
        { "{\"user_info\":{\"auth\":\"1\"}}", false }, { "{\"auth\":0", false },
        { "{\"user_info\":[{\"auth\":0}]}", false } };
    for (const auto &[body, isArray] : lists)
        EXPECT_EQ(XtreamClient::checkListBody(body), isArray) << body;
    for (const char *refusal : { "{\"user_info\":{\"auth\":0}}",
             "{\"user_info\": {\"auth\": 0, \"status\":\"Banned\"}}", "{\"user_info\":{\"auth\"  :  0}}",
             "{\"user_info\":{\"auth\":\"0\"}}", "{\"user_info\":{\"auth\":false}}", "{\"auth\":0}" })
        EXPECT_EQ(errorKind([&] { XtreamClient::checkListBody(refusal); }), AppError::Kind::xtreamAuth)
            << refusal;
    // the refusal is read wherever it sits in the answer
    const QByteArray padding(5000, ' ');
    EXPECT_EQ(errorKind([&] { XtreamClient::checkListBody("{" + padding + "\"auth\":0}"); }),
        AppError::Kind::xtreamAuth);
}

TEST(XtreamLists, CategoriesSkipBrokenElementsAndReadLooseTypes)
{
    EXPECT_EQ(XtreamClient::decodeCategories(XtreamProvider::fixture("live_categories.json")),
        (QList<XCategory> { { "1", "News" }, { "2", "Sport / Live" }, { std::nullopt, "No id" },
            { "7", std::nullopt }, { "9", std::nullopt }, { "3", "Empty" } }));
    EXPECT_TRUE(XtreamClient::decodeCategories("[1, 2").isEmpty());
    EXPECT_TRUE(XtreamClient::decodeCategories("{\"a\":[]}").isEmpty());
}

TEST(XtreamLists, UndecodableStreamsAreBadDataAndRepeatedKeysKeepTheFirst)
{
    EXPECT_EQ(errorKind([] { XtreamClient::decodeStreams("[{\"stream_id\":1},"); }), AppError::Kind::badData);
    EXPECT_EQ(errorKind([] { XtreamClient::decodeMediaItems("[{\"stream_id\":1}", ContentType::live); }),
        AppError::Kind::badData);
    EXPECT_TRUE(XtreamClient::decodeStreams("{\"user_info\":{\"auth\":1}}").isEmpty());
    const QList<XStream> streams
        = XtreamClient::decodeStreams(R"([{"stream_id":null,"stream_id":"8","name":"A","name":"B"}])");
    ASSERT_EQ(streams.size(), 1);
    EXPECT_EQ(streams[0].streamId, std::nullopt);
    EXPECT_EQ(streams[0].name, OptText("A"));
}

// "uid|type|id|name|num|category|logo|rating|ext|catchup|url" of each item.
QStringList itemLines(const QList<MediaItem> &items)
{
    QStringList lines;
    for (const MediaItem &item : items) {
        const std::optional<Catchup> &offer = item.catchup;
        const QString catchup = offer
            ? QString::number(offer->days) + u' ' + offer->mode + offer->source.value_or("")
            : QStringLiteral("-");
        lines << QStringList { QString::number(item.uid), rawValue(item.type), item.id, item.name,
            QString::number(item.num), item.categoryId, item.logo.value_or("-"), item.rating.value_or("-"),
            item.ext.value_or("-"), catchup, item.url.value_or("-") }
                     .join(u'|');
    }
    return lines;
}

TEST(XtreamLists, StreamsBecomeItemsWithSaneNumbersRatingsAndArchiveDays)
{
    const QList<XStream> live = XtreamClient::decodeStreams(XtreamProvider::fixture("live_streams.json"));
    EXPECT_EQ(live.size(), 8); // three elements are not objects
    const QList<MediaItem> channels = XtreamClient::mediaItems(live, ContentType::live);
    EXPECT_EQ(itemLines(channels),
        QStringList({ "0|LIVE|101|News One|1|1|http://127.0.0.1/logos/news1.png|-|-|3 xc|-",
            "1|LIVE|102|Sport HD|2|2|-|-|-|1 xc|-", "2|LIVE|103|103|3|__uncat__|-|-|-|-|-",
            // an overflowing archive duration counts as unreadable
            "3|LIVE|104|Archive Forever|4|8|-|-|-|1 xc|-",
            // num 1e300 is out of range; 1000 days stay as offered
            "4|LIVE|105|Big Number|5|1|-|-|-|1000 xc|-", "5|LIVE|106|Not A Number|6|1|-|-|-|1 xc|-",
            "6|LIVE|107|Twelve|12|1|-|-|-|1 xc|-" }));
    EXPECT_EQ(channels[0].epgId, OptText("news1.fr"));
    EXPECT_EQ(channels[1].epgId, std::nullopt);

    // movies keep their extensions and drop zero ratings and archives
    const auto movies = XtreamClient::decodeStreams(XtreamProvider::fixture("vod_streams.json"));
    EXPECT_EQ(itemLines(XtreamClient::mediaItems(movies, ContentType::movie)),
        QStringList({ "0|MOVIE|201|Heat|1|10|http://127.0.0.1/posters/heat.jpg|7.8|mkv|-|-",
            "1|MOVIE|202|Quiet|2|11|http://127.0.0.1/posters/quiet.jpg|-|mp4|-|-",
            "2|MOVIE|203|203|3|99|-|-|avi|-|-", "3|MOVIE|204|Rated As Number|4|10|-|6.5|-|-|-" }));

    // series use their series ids and covers
    const auto series = XtreamClient::decodeStreams(XtreamProvider::fixture("series.json"));
    EXPECT_EQ(itemLines(XtreamClient::mediaItems(series, ContentType::series)),
        QStringList({ "0|SERIES|301|The Wire|1|20|http://127.0.0.1/covers/wire.jpg|9|-|-|-",
            "1|SERIES|303|Blank Cover|3|20|-|-|-|-|-" }));
}

TEST(XtreamLists, OnePassItemsMatchTheTwoStepDecoding)
{
    const std::pair<const char *, ContentType> cases[] = { { "live_streams.json", ContentType::live },
        { "live_streams.json", ContentType::movie }, { "vod_streams.json", ContentType::movie },
        { "vod_streams.json", ContentType::live }, { "series.json", ContentType::series } };
    for (const auto &[fixture, type] : cases) {
        const QByteArray body = XtreamProvider::fixture(fixture);
        const QList<MediaItem> twoStep = XtreamClient::mediaItems(XtreamClient::decodeStreams(body), type);
        EXPECT_FALSE(twoStep.isEmpty()) << fixture;
        EXPECT_EQ(XtreamClient::decodeMediaItems(body, type), twoStep) << fixture;
    }
}

// Element i: no usable id when i % 7 == 3, no number when i % 5 == 0, a padded name.
std::string commonFields(int i)
{
    const std::string id = std::to_string(i);
    std::string fields
        = "\"stream_id\":" + (i % 7 == 3 ? std::string(i % 2 ? "null" : "\" \"") : "\"" + id + "\"");
    if (i % 5 != 0)
        fields += ",\"num\":" + std::to_string(i * 10);
    fields += ",\"name\":\"n},{\\\"x\\\":[" + id + "]}\"";
    return fields + ",\"stream_icon\":\"http://127.0.0.1/logo/" + std::string(40, 'l') + ".png\"";
}

// Bodies long enough to be read in pieces on several workers: texts, nested values and
// other elements that look like the places where a list is cut, ids and numbers missing.
TEST(XtreamLists, LargeListsReadLikeTheirElements)
{
    const std::vector<std::string (*)(int)> shapes = {
        [](int i) { return "{" + commonFields(i) + "}"; },
        [](int i) {
        return "{\"extra\":[{\"a\":1},{\"b\":{}}]," + commonFields(i) + ",\"more\":{\"c\":[{}, {}]}}";
        },
        [](int i) { return "{" + commonFields(i) + "}" + (i % 100 == 1 ? ",\"},{\",[{},{}],7" : ""); },
    };
    for (std::size_t shape = 0; shape < shapes.size(); ++shape) {
        SCOPED_TRACE(shape);
        QByteArray body = "[";
        QStringList expected;
        for (int i = 0; i < 12000; ++i) {
            body += (i ? ",\n" : "") + QByteArray::fromStdString(shapes[shape](i));
            if (i % 7 != 3) {
                const qint64 num = i % 5 == 0 ? expected.size() + 1 : i * 10;
                expected << QStringLiteral("%1 %2 n},{\"x\":[%2]} %3").arg(expected.size()).arg(i).arg(num);
            }
        }
        body += "]";
        ASSERT_GT(body.size(), 1024 * 1024);
        const QList<MediaItem> items = XtreamClient::decodeMediaItems(body, ContentType::live);
        EXPECT_EQ(XtreamClient::mediaItems(XtreamClient::decodeStreams(body), ContentType::live), items);
        // A body held by the decoder alone is given back as it is read.
        const auto ownCopy = [&body] { return QByteArray(body.constData(), body.size()); };
        EXPECT_EQ(XtreamClient::decodeMediaItems(ownCopy(), ContentType::live), items);
        EXPECT_EQ(XtreamClient::mediaItems(XtreamClient::decodeStreams(ownCopy()), ContentType::live), items);
        QStringList lines;
        for (const MediaItem &item : items)
            lines << QStringLiteral("%1 %2 %3 %4").arg(item.uid).arg(item.id, item.name).arg(item.num);
        EXPECT_EQ(lines, expected);
        body.chop(1);
        body += ",{\"stream_id\":1,\"name\":tru}]";
        EXPECT_EQ(errorKind([&] { XtreamClient::decodeMediaItems(body, ContentType::live); }),
            AppError::Kind::badData);
        EXPECT_EQ(errorKind([&] { XtreamClient::decodeStreams(body); }), AppError::Kind::badData);
    }
}

} // namespace
