#include "kit/SectionLookups.h"

#include "RunTask.h"

#include <QHash>
#include <QRandomGenerator>
#include <QThreadPool>

#include <gtest/gtest.h>

namespace {

std::shared_ptr<Section> sectionOfIds(const QStringList &ids)
{
    auto section = std::make_shared<Section>();
    for (const QString &id : ids)
        section->all.append(MediaItem { .uid = section->all.size(), .id = id, .name = u"Channel "_qs + id });
    return section;
}

// Many items, ids repeated at random (the later item of an id wins), in a list long enough
// to be hashed and sorted in parts: every id finds the row a plain map gives, ids sharing a
// prefix or differing by one character are told apart, and absent ids find none.
TEST(SectionLookups, FindsTheLastRowOfEachIdLikeAPlainMap)
{
    QRandomGenerator random(20261209);
    QStringList ids;
    for (int i = 0; i < 150000; ++i)
        ids.append(u"http://127.0.0.1:8000/live/%1.m3u8"_qs.arg(random.bounded(90000)));
    const SectionPtr section = sectionOfIds(ids);
    const SectionLookupsPtr lookups = SectionLookups::build(section->all);
    EXPECT_EQ(lookups->names.size(), ids.size());
    QHash<QString, qint32> expected;
    for (qint32 row = 0; row < ids.size(); ++row)
        expected.insert(ids[row], row);
    for (auto at = expected.cbegin(); at != expected.cend(); ++at)
        ASSERT_EQ(lookups->lastRowOf(section->all, at.key()), at.value()) << qPrintable(at.key());
    for (const QString &absent : { u"http://127.0.0.1:8000/live/90000.m3u8"_qs,
             u"http://127.0.0.1:8000/live/"_qs, u""_qs, u"http://127.0.0.1:8000/live/1.m3u"_qs })
        EXPECT_EQ(lookups->lastRowOf(section->all, absent), -1) << qPrintable(absent);
}

TEST(SectionLookups, AnEmptyListFindsNothing)
{
    const SectionLookupsPtr none = runTask(SectionLookups::of(nullptr));
    EXPECT_EQ(none->names.size(), 0);
    EXPECT_EQ(none->lastRowOf(MediaItems(), u"101"), -1);
    const SectionPtr section = sectionOfIds({ "", "7", "" });
    const SectionLookupsPtr one = SectionLookups::build(section->all);
    EXPECT_EQ(one->lastRowOf(section->all, u""), 2);
    EXPECT_EQ(one->lastRowOf(section->all, u"7"), 1);
}

// Every caller of one section shares one build, which is ready at once after it finished
// or after it was prepared; another section, even one alike, gets its own.
TEST(SectionLookups, BuiltOncePerSectionAndSharedByEveryCaller)
{
    const SectionPtr section = sectionOfIds({ "1", "2", "3" });
    QCoro::Task<SectionLookupsPtr> first = SectionLookups::of(section);
    QCoro::Task<SectionLookupsPtr> second = SectionLookups::of(section);
    const SectionLookupsPtr built = runTask(std::move(first));
    EXPECT_EQ(runTask(std::move(second)), built);
    QCoro::Task<SectionLookupsPtr> again = SectionLookups::of(section);
    EXPECT_TRUE(again.isReady());
    EXPECT_EQ(runTask(std::move(again)), built);

    const SectionPtr alike = sectionOfIds({ "1", "2", "3" });
    SectionLookups::prepare(alike);
    const SectionLookupsPtr other = runTask(SectionLookups::of(alike));
    EXPECT_NE(other, built);
    EXPECT_EQ(other->lastRowOf(alike->all, u"3"), 2);
    EXPECT_TRUE(SectionLookups::of(alike).isReady());
}

// The lookups of a section nobody holds any more are let go at the next use, and a
// section made later at the same address gets lookups of its own.
TEST(SectionLookups, GoWhenTheirSectionGoes)
{
    std::shared_ptr<Section> section = sectionOfIds({ "a" });
    std::weak_ptr<const SectionLookups> gone = runTask(SectionLookups::of(section));
    section.reset();
    EXPECT_FALSE(gone.expired());
    // The finished build's task lets go of its result only once its thread has deleted it.
    QThreadPool::globalInstance()->waitForDone();
    const SectionPtr next = sectionOfIds({ "b" });
    const SectionLookupsPtr lookups = runTask(SectionLookups::of(next));
    EXPECT_TRUE(gone.expired());
    EXPECT_EQ(lookups->lastRowOf(next->all, u"b"), 0);
    EXPECT_EQ(lookups->lastRowOf(next->all, u"a"), -1);
}

} // namespace
