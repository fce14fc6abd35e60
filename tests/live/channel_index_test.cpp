#include "live/ChannelIndex.h"

#include <QHash>
#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace {

SectionPtr sectionOfIds(const QStringList &ids)
{
    auto section = std::make_shared<Section>();
    for (const QString &id : ids)
        section->all.append(MediaItem { .uid = section->all.size(), .id = id, .name = u"Channel "_qs + id });
    return section;
}

// Many channels, ids repeated at random (the later channel of an id wins), in a list long
// enough to be hashed and sorted in parts: every id finds the row a plain map gives, ids
// sharing a prefix or differing by one character are told apart, and absent ids find none.
TEST(ChannelIndex, FindsTheLastRowOfEachIdLikeAPlainMap)
{
    QRandomGenerator random(20261209);
    QStringList ids;
    for (int i = 0; i < 150000; ++i)
        ids.append(u"http://127.0.0.1:8000/live/%1.m3u8"_qs.arg(random.bounded(90000)));
    const ChannelIndexPtr index = ChannelIndex::build(sectionOfIds(ids));
    QHash<QString, qint32> expected;
    for (qint32 row = 0; row < ids.size(); ++row)
        expected.insert(ids[row], row);
    for (auto at = expected.cbegin(); at != expected.cend(); ++at)
        ASSERT_EQ(index->lastRowOf(at.key()), at.value()) << qPrintable(at.key());
    for (const QString &absent : { u"http://127.0.0.1:8000/live/90000.m3u8"_qs, u"http://127.0.0.1:8000/live/"_qs,
             u""_qs, u"http://127.0.0.1:8000/live/1.m3u"_qs })
        EXPECT_EQ(index->lastRowOf(absent), -1) << qPrintable(absent);
}

TEST(ChannelIndex, AnEmptySectionFindsNothing)
{
    for (const SectionPtr &section : { SectionPtr(), sectionOfIds({}) }) {
        const ChannelIndexPtr index = ChannelIndex::build(section);
        EXPECT_TRUE(index->all().isEmpty());
        EXPECT_EQ(index->foldedNames.size(), 0);
        EXPECT_EQ(index->lastRowOf(u"101"), -1);
    }
    const ChannelIndexPtr one = ChannelIndex::build(sectionOfIds({ "", "7", "" }));
    EXPECT_EQ(one->lastRowOf(u""), 2);
    EXPECT_EQ(one->lastRowOf(u"7"), 1);
}

} // namespace
