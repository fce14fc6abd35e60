#include "kit/ContentListModel.h"
#include "model/ContentKeys.h"

#include <QAbstractItemModelTester>
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

// Updated rows are announced as rows removed, moved and inserted, never as a reset, and a
// row that moved keeps being told whether it is the focused one.
TEST(ContentListModel, UpdatedRowsMoveInsteadOfResetting)
{
    auto section = std::make_shared<Section>();
    for (int id = 1; id <= 6; ++id)
        section->all.append(channel(QString::number(id), QStringLiteral("C%1").arg(id)));
    ContentListModel model;
    QAbstractItemModelTester tester(&model);
    model.setItems(ContentListModel::itemsOf(section), 7);
    model.setRows({ 0, 1, 2, 3 });
    model.setFocusedRow(1);
    QSignalSpy resets(&model, &QAbstractItemModel::modelAboutToBeReset);
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy moved(&model, &QAbstractItemModel::rowsMoved);
    QSignalSpy counts(&model, &ContentListModel::countChanged);
    QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);

    model.updateRows({ 5, 4, 1, 0, 4, 9 });
    EXPECT_EQ(shownNames(model), QStringList({ "C6", "C5", "C2", "C1" }));
    EXPECT_EQ(resets.count(), 0);
    EXPECT_EQ(removed.count(), 1);
    EXPECT_EQ(moved.count(), 1);
    EXPECT_EQ(inserted.count(), 1);
    EXPECT_EQ(counts.count(), 0);
    auto focused = [&](int row) { return model.data(model.index(row), ContentListModel::FocusedRole).toBool(); };
    EXPECT_EQ(model.focusedRow(), 1);
    EXPECT_TRUE(focused(1));
    QList<int> announced;
    for (const QList<QVariant> &change : changes)
        announced.append(change[0].toModelIndex().row());
    EXPECT_TRUE(announced.contains(1)) << "the row now at the focused place";
    EXPECT_TRUE(announced.contains(2)) << "the formerly focused item, moved down";
    EXPECT_FALSE(focused(2));

    model.updateRows({ 1 });
    EXPECT_EQ(shownNames(model), QStringList({ "C2" }));
    EXPECT_EQ(model.focusedRow(), 0);
    EXPECT_EQ(counts.count(), 1);
    EXPECT_EQ(resets.count(), 0);
}

} // namespace
