#include "kit/ContentListModel.h"
#include "model/ContentKeys.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

MediaItem channel(const QString &id, const QString &name)
{
    MediaItem item;
    item.id = id;
    item.name = name;
    item.num = id.toLongLong();
    return item;
}

SectionPtr threeChannels()
{
    auto section = std::make_shared<Section>();
    section->all = { channel("1", "One"), channel("2", "Two"), channel("3", "Three") };
    return section;
}

QStringList shownNames(const ContentListModel &model)
{
    QStringList names;
    for (int row = 0; row < model.rowCount(); ++row)
        names << model.data(model.index(row), ContentListModel::NameRole).toString();
    return names;
}

TEST(ContentListModel, SharesTheSectionAndShowsTheRowsInTheirOrder)
{
    const SectionPtr section = threeChannels();
    ContentListModel model;
    model.setItems(ContentListModel::itemsOf(section), 7);
    EXPECT_EQ(model.items()->constData(), section->all.constData());
    EXPECT_EQ(shownNames(model), QStringList({ "One", "Two", "Three" }));

    QSignalSpy counts(&model, &ContentListModel::countChanged);
    model.setRows({ 2, 0, 9, -1 });
    EXPECT_EQ(shownNames(model), QStringList({ "Three", "One" }));
    EXPECT_EQ(counts.count(), 1);
    EXPECT_EQ(model.keyAt(0), itemKey(ContentType::live, 7, "3"));
    EXPECT_EQ(model.rowOfKey(itemKey(ContentType::live, 7, "1")), 1);
    EXPECT_EQ(model.itemAt(2), nullptr);
}

TEST(ContentListModel, FlagsFollowKeysAndTheFocusedRow)
{
    ContentListModel model;
    model.setItems(ContentListModel::itemsOf(threeChannels()), 7);
    model.setFavoriteKeys({ itemKey(ContentType::live, 7, "2") });
    model.setPlayingKey(itemKey(ContentType::live, 7, "3"));
    model.setFocusedRow(0);
    auto flag = [&](int row, int role) { return model.data(model.index(row), role).toBool(); };
    EXPECT_TRUE(flag(1, ContentListModel::FavoriteRole));
    EXPECT_FALSE(flag(0, ContentListModel::FavoriteRole));
    EXPECT_TRUE(flag(2, ContentListModel::PlayingRole));
    EXPECT_TRUE(flag(0, ContentListModel::FocusedRole));

    QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);
    model.setFocusedRow(2);
    ASSERT_EQ(changes.count(), 2);
    EXPECT_EQ(changes[0][0].toModelIndex().row(), 0);
    EXPECT_EQ(changes[1][0].toModelIndex().row(), 2);

    model.setRows({ 0 });
    EXPECT_EQ(model.focusedRow(), 0);
    model.setItems(ContentListModel::itemsOf(QList<MediaItem>()), 7);
    EXPECT_EQ(model.focusedRow(), -1);
}

} // namespace
