#include "kit/ContentListModel.h"
#include "model/ContentKeys.h"

#include <QAbstractItemModelTester>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
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
    EXPECT_EQ(model.items().get(), &section->all);
    EXPECT_EQ(shownNames(model), QStringList({ "One", "Two", "Three" }));

    QSignalSpy counts(&model, &ContentListModel::countChanged);
    model.setRows({ 2, 0, 9, -1 });
    EXPECT_EQ(shownNames(model), QStringList({ "Three", "One" }));
    EXPECT_EQ(counts.count(), 1);
    EXPECT_EQ(model.keyAt(0), itemKey(ContentType::live, 7, "3"));
    EXPECT_EQ(model.rowOfKey(itemKey(ContentType::live, 7, "1")), 1);
    EXPECT_FALSE(model.itemAt(2).has_value());
}

TEST(ContentListModel, RowOfKeyMatchesTheWholeKey)
{
    auto section = std::make_shared<Section>();
    section->all = { channel("1", "One"), channel("a|b", "Piped"), channel("11", "Eleven") };
    ContentListModel model;
    model.setItems(ContentListModel::itemsOf(section), 7);
    const struct {
        QString key;
        int row;
    } cases[] = {
        { itemKey(ContentType::live, 7, "11"), 2 },
        { itemKey(ContentType::live, 7, "a|b"), 1 }, // an id may hold the separator
        { itemKey(ContentType::live, 8, "1"), -1 }, // another playlist
        { itemKey(ContentType::movie, 7, "1"), -1 },
        { itemKey(ContentType::live, 7, ""), -1 },
        { u"7|LIVE"_qs, -1 },
        { u"1"_qs, -1 },
        { QString(), -1 },
    };
    for (const auto &test : cases)
        EXPECT_EQ(model.rowOfKey(test.key), test.row) << qPrintable(test.key);
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

QList<MediaItem> channelsNamed(const QStringList &names)
{
    QList<MediaItem> items;
    for (const QString &name : names)
        items.append(channel(QString::number(items.size() + 1), name));
    return items;
}

// What a view hears from the model, one line per signal.
QStringList signalsOf(ContentListModel &model, const std::function<void()> &step)
{
    QStringList heard;
    const auto range = [&](const char *what, int first, int last) {
        heard << u"%1 %2-%3"_qs.arg(QLatin1String(what)).arg(first).arg(last);
    };
    QList<QMetaObject::Connection> connections {
        QObject::connect(&model, &QAbstractItemModel::modelReset, [&] { heard << "reset"; }),
        QObject::connect(&model, &QAbstractItemModel::rowsRemoved,
            [&](const QModelIndex &, int first, int last) { range("removed", first, last); }),
        QObject::connect(&model, &QAbstractItemModel::rowsInserted,
            [&](const QModelIndex &, int first, int last) { range("inserted", first, last); }),
        QObject::connect(&model, &QAbstractItemModel::dataChanged,
            [&](const QModelIndex &top,
                const QModelIndex &bottom) { range("changed", top.row(), bottom.row()); }),
    };
    step();
    for (const QMetaObject::Connection &connection : connections)
        QObject::disconnect(connection);
    return heard;
}

struct UpdateCase {
    const char *name;
    std::vector<qint32> before;
    std::vector<qint32> after;
    QStringList heard;
    QStringList shown;
};

// Updated rows keep the front that stays, change the rows both lists have in place and
// grow or shrink at the end; a view's tester sees a consistent model throughout.
TEST(ContentListModel, UpdatingRowsSignalsOnlyWhatChanged)
{
    const UpdateCase cases[] = {
        { "narrowed", { 0, 1, 2, 3, 4, 5 }, { 0, 2, 4 }, { "removed 3-5", "changed 1-2" },
            { "A", "C", "E" } },
        { "widened", { 0, 2, 4 }, { 0, 1, 2, 3, 4, 5 }, { "inserted 3-5", "changed 1-2" },
            { "A", "B", "C", "D", "E", "F" } },
        { "same length", { 0, 1, 2 }, { 0, 1, 5 }, { "changed 2-2" }, { "A", "B", "F" } },
        { "unchanged", { 3, 1 }, { 3, 1 }, {}, { "D", "B" } },
        { "a longer front kept", { 4 }, { 4, 9, -1, 0 }, { "inserted 1-1" }, { "E", "A" } },
        { "emptied", { 0, 1 }, {}, { "removed 0-1" }, {} },
        { "filled", {}, { 5, 4 }, { "inserted 0-1" }, { "F", "E" } },
        { "nothing stays", { 0, 1, 2 }, { 5, 4 }, { "removed 2-2", "changed 0-1" }, { "F", "E" } },
    };
    for (const UpdateCase &c : cases) {
        ContentListModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
        model.setItems(ContentListModel::itemsOf(channelsNamed({ "A", "B", "C", "D", "E", "F" })), 7);
        model.setRows(c.before);
        QSignalSpy counts(&model, &ContentListModel::countChanged);
        EXPECT_EQ(signalsOf(model, [&] { model.refillRows(c.after); }), c.heard) << c.name;
        EXPECT_EQ(shownNames(model), c.shown) << c.name;
        EXPECT_EQ(counts.count(), c.before.size() == size_t(c.shown.size()) ? 0 : 1) << c.name;
    }
}

// A list view over the model: after each update the rows it shows read the new items, the
// delegates of rows that stay are the same objects, and an emptied list drops its focus.
TEST(ContentListModel, AViewKeepsItsDelegatesAndShowsTheUpdatedRows)
{
    ContentListModel model;
    model.setItems(ContentListModel::itemsOf(channelsNamed({ "A", "B", "C", "D", "E", "F", "G", "H" })), 7);
    QQmlEngine engine;
    QQmlComponent component(&engine);
    component.setData("import QtQuick\n"
                      "ListView { width: 100; height: 90; cacheBuffer: 0; property var rows\n"
                      "  model: rows\n"
                      "  delegate: Item { required property string name; width: 100; height: 20 } }",
        QUrl());
    std::unique_ptr<QObject> object(
        component.createWithInitialProperties({ { "rows", QVariant::fromValue(&model) } }));
    ASSERT_TRUE(object) << qPrintable(component.errorString());
    QQuickWindow window;
    auto *list = qobject_cast<QQuickItem *>(object.get());
    list->setParentItem(window.contentItem());
    const auto delegateAt = [&](int row) {
        QQuickItem *item = nullptr;
        QMetaObject::invokeMethod(list, "itemAtIndex", Q_RETURN_ARG(QQuickItem *, item), Q_ARG(int, row));
        return item;
    };
    const auto shownByView = [&] {
        QMetaObject::invokeMethod(list, "forceLayout");
        QStringList names;
        for (int row = 0; row < model.rowCount() && delegateAt(row) && delegateAt(row)->isVisible(); ++row)
            names << delegateAt(row)->property("name").toString();
        return names;
    };
    ASSERT_EQ(shownByView(), QStringList({ "A", "B", "C", "D", "E" }));
    QQuickItem *first = delegateAt(0);
    QQuickItem *second = delegateAt(1);

    model.setFocusedRow(2);
    model.refillRows({ 0, 1, 5, 7 });
    EXPECT_EQ(shownByView(), QStringList({ "A", "B", "F", "H" }));
    EXPECT_EQ(delegateAt(0), first);
    EXPECT_EQ(delegateAt(1), second);
    EXPECT_EQ(model.focusedRow(), 2);

    model.refillRows({ 0, 6, 5, 4, 3, 2 });
    EXPECT_EQ(shownByView(), QStringList({ "A", "G", "F", "E", "D" }));
    EXPECT_EQ(delegateAt(0), first);

    model.refillRows({});
    EXPECT_EQ(list->property("count").toInt(), 0);
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
    auto focused
        = [&](int row) { return model.data(model.index(row), ContentListModel::FocusedRole).toBool(); };
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
