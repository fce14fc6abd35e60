#include "model/MediaItems.h"

#include <gtest/gtest.h>

namespace {

using Text = MediaItems::Text;

MediaItem channel(qint64 uid, QString name, QString category = u"News"_qs)
{
    const QString address = u"http://127.0.0.1:9/live/"_qs + QString::number(uid) + u".ts"_qs;
    return MediaItem { .uid = uid,
        .id = address,
        .name = std::move(name),
        .categoryId = std::move(category),
        .url = address,
        .num = uid + 1 };
}

// Items whose texts take every form a list can hold.
QList<MediaItem> variedItems()
{
    const QString loneSurrogate = QString(QChar(0xD800)) + u"x"_qs;
    return {
        channel(0, u"\uFEFFPlain"_qs), // a leading byte-order mark is a character

        { .uid = 1,
            .type = ContentType::movie,
            .id = u"m1"_qs,
            .name = u"Film"_qs,
            .logo = u""_qs,
            .categoryId = u"Films"_qs,
            .url = u"http://127.0.0.1:9/movie/1.mkv"_qs,
            .epgId = std::nullopt,
            .ext = u"mkv"_qs,
            .rating = u"7.5"_qs,
            .num = 12,
            .catchup = Catchup { 3, u"shift"_qs, u"?t={utc}"_qs } },
        channel(2, u"قناة الأولى ⚽ 中央电视台 😀"_qs, u"عربي"_qs),
        { .uid = 3,
            .id = loneSurrogate,
            .name = loneSurrogate,
            .logo = u"l"_qs + loneSurrogate,
            .categoryId = u""_qs },
        { .uid = 4, .id = u""_qs, .name = u""_qs, .categoryId = u"News"_qs, .url = u""_qs },
        channel(5, QString(300000, u'ж')),
    };
}

TEST(MediaItems, ItemsReadBackAsTheyWereAdded)
{
    const QList<MediaItem> items = variedItems();
    const MediaItems stored(items);
    ASSERT_EQ(stored.size(), items.size());
    QString buffer; // reused by every read, longest text first
    for (qsizetype i = items.size() - 1; i >= 0; --i) {
        EXPECT_EQ(stored.textSize(i, Text::name), items.at(i).name.size()) << i;
        EXPECT_EQ(stored.textInto(i, Text::name, buffer), items.at(i).name) << i;
        EXPECT_EQ(stored.textInto(i, Text::logo, buffer), items.at(i).logo.value_or(QString())) << i;
        EXPECT_EQ(stored.at(i), items.at(i)) << i;
        EXPECT_EQ(stored.name(i), items.at(i).name) << i;
        EXPECT_EQ(stored.id(i), items.at(i).id) << i;
        EXPECT_EQ(stored.categoryId(i), items.at(i).categoryId) << i;
        EXPECT_EQ(stored.uid(i), items.at(i).uid) << i;
        EXPECT_EQ(stored.textHash(i, Text::id, 7), MediaItems::hashOf(items.at(i).id, 7)) << i;
        EXPECT_EQ(stored.textHash(i, Text::name, 7), MediaItems::hashOf(items.at(i).name, 7)) << i;
    }
    // Absent and empty stay apart.
    EXPECT_FALSE(stored.text(0, Text::logo).has_value());
    EXPECT_EQ(stored.text(1, Text::logo), OptText(u""_qs));
}

TEST(MediaItems, TextIsComparesInPlace)
{
    const MediaItems stored(variedItems());
    const struct {
        qsizetype item;
        Text field;
        QString text;
        bool expected;
    } cases[] = {
        { 0, Text::name, u"\uFEFFPlain"_qs, true },
        { 0, Text::name, u"Plain"_qs, false },
        { 0, Text::logo, u""_qs, false }, // absent is not empty
        { 1, Text::logo, u""_qs, true },
        { 2, Text::name, u"قناة الأولى ⚽ 中央电视台 😀"_qs, true },
        { 3, Text::id, QString(QChar(0xD800)) + u"x"_qs, true },
        { 3, Text::id, u"x"_qs, false },
        { 4, Text::id, u""_qs, true },
    };
    for (const auto &test : cases)
        EXPECT_EQ(stored.textIs(test.item, test.field, test.text), test.expected)
            << test.item << ' ' << int(test.field);
}

// Texts past one chunk, appended lists and copies keep every item intact.
TEST(MediaItems, AppendedAndCopiedListsKeepTheirItems)
{
    QList<MediaItem> first;
    QList<MediaItem> second;
    for (qint64 i = 0; i < 20000; ++i) {
        const QString name = u"Channel "_qs + QString::number(i) + QString(int(i % 90), u'é');
        (i < 12000 ? first : second)
            .append(channel(i, name, i % 3 ? u"News"_qs : u"Sport "_qs + QString::number(i % 7)));
    }
    MediaItems joined(first);
    joined.append(MediaItems(second));
    // The list goes on growing after an append.
    const MediaItem later = channel(20000, u"Later"_qs, u"Sport 1"_qs);
    joined.append(later);
    const QList<MediaItem> expected = first + second + QList<MediaItem> { later };
    EXPECT_EQ(joined, MediaItems(expected));

    auto copy = std::make_unique<MediaItems>(joined);
    const MediaItems kept = *copy;
    copy.reset();
    EXPECT_EQ(kept, MediaItems(expected));
}

TEST(MediaItems, RenumberingChangesOnlyTheNumbers)
{
    MediaItems stored { channel(4, u"One"_qs), channel(9, u"Two"_qs) };
    stored.renumber(1, 1, 2);
    MediaItem expected = channel(9, u"Two"_qs);
    expected.uid = 1;
    expected.num = 2;
    EXPECT_EQ(stored.at(1), expected);
    EXPECT_EQ(stored.at(0), channel(4, u"One"_qs));
}

} // namespace
