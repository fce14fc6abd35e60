#include "KitServices.h"
#include "KitTestSupport.h"
#include "app/AppState.h"
#include "app/ChoiceDialog.h"
#include "app/KeyRouter.h"

#include <QtQml/qqmlextensionplugin.h>
#include <gtest/gtest.h>

Q_IMPORT_QML_PLUGIN(Zelfor_KitPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_AppPlugin)

namespace {

const QStringList kOptions
    = { QStringLiteral("Newest first"), QStringLiteral("A to Z"), QStringLiteral("Z to A") };

// The dialog view in a 900 by 640 window, showing a fresh model that AppState holds.
class ChoiceDialogViewTest : public ::testing::Test {
protected:
    void open(int selected, const QStringList &options = kOptions)
    {
        kitServices().app()->setDialog(std::make_unique<ChoiceDialogModel>(
            QStringLiteral("Sort by"), options, selected, [this](int index) { chosen.append(index); }));
        page = std::make_unique<ShownPage>(QStringLiteral("qrc:/Zelfor/Kit/ChoiceDialogView.qml"),
            QVariantMap { { "model", QVariant::fromValue(kitServices().app()->dialog()) }, { "width", 900 },
                { "height", 640 } });
        ASSERT_TRUE(page->ready());
        EXPECT_TRUE(page->problems().isEmpty()) << qPrintable(page->problems().join('\n'));
        for (QQuickItem *item : itemsBelow(page->root())) {
            if (item->objectName() == QLatin1String("choiceRow"))
                rows.append(item);
        }
        std::sort(rows.begin(), rows.end(), [](QQuickItem *a, QQuickItem *b) { return a->y() < b->y(); });
        if (options.size() <= kOptions.size())
            ASSERT_EQ(rows.size(), options.size());
    }

    void TearDown() override { kitServices().app()->setDialog(nullptr); }

    // Which rows look focused, are selected and carry the check mark.
    QList<std::array<bool, 3>> rowStates() const
    {
        QList<std::array<bool, 3>> states;
        for (QQuickItem *row : rows) {
            QQuickItem *mark = itemNamed(row, QStringLiteral("checkMark"));
            states.append({ row->property("focused").toBool(), row->property("selected").toBool(),
                mark && mark->isVisible() });
        }
        return states;
    }

    static QList<std::array<bool, 3>> expectedStates(int focus, int selected)
    {
        QList<std::array<bool, 3>> states;
        for (int i = 0; i < kOptions.size(); ++i)
            states.append({ i == focus, i == selected, i == selected });
        return states;
    }

    int focusIndex() const { return page->root()->property("focusIndex").toInt(); }
    bool isOpen() const { return kitServices().app()->dialog() != nullptr; }

    std::unique_ptr<ShownPage> page;
    QList<QQuickItem *> rows;
    QList<int> chosen;
};

class ChoiceDialogOpens : public ChoiceDialogViewTest,
                          public ::testing::WithParamInterface<std::pair<int, int>> { };

TEST_P(ChoiceDialogOpens, FocusesTheSelectedRowOrTheFirst)
{
    const auto [selected, focus] = GetParam();
    LanguageScope french(QStringLiteral("fr"));
    open(selected);
    EXPECT_EQ(focusIndex(), focus);
    EXPECT_EQ(rowStates(), expectedStates(focus, selected));
    QQuickItem *cancel = page->child(QStringLiteral("cancelButton"));
    ASSERT_TRUE(cancel);
    EXPECT_EQ(cancel->property("title").toString(), QStringLiteral("Annuler"));
    EXPECT_FALSE(cancel->property("primary").toBool());
}

INSTANTIATE_TEST_SUITE_P(
    Selected, ChoiceDialogOpens, ::testing::Values(std::pair(-1, 0), std::pair(0, 0), std::pair(2, 2)));

TEST_F(ChoiceDialogViewTest, KeysMoveTheFocusedLookButNotTheMark)
{
    open(0);
    KeyRouter *router = kitServices().router();
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(router->dispatch(Key { Key::Kind::down, {} }));
    EXPECT_EQ(focusIndex(), 2);
    EXPECT_EQ(rowStates(), expectedStates(2, 0));
    EXPECT_TRUE(router->dispatch(Key::character(QStringLiteral("a"))));
    EXPECT_TRUE(router->dispatch(Key { Key::Kind::space, {} }));
    EXPECT_EQ(chosen, QList<int> { 2 });
    EXPECT_FALSE(isOpen());
}

// More options than the window holds: the list scrolls inside the window and keeps the
// focused option in view as the keys move it.
TEST_F(ChoiceDialogViewTest, LongListScrollsToKeepTheFocusedOptionInView)
{
    QStringList many;
    for (int i = 1; i <= 16; ++i)
        many.append(QStringLiteral("Option %1").arg(i));
    open(0, many);
    QQuickItem *list = page->child(QStringLiteral("options"));
    ASSERT_TRUE(list);
    const QRectF window(0, 0, 900, 640);
    const auto inView = [&](QQuickItem *item, QQuickItem *frame) {
        const QRectF box = item->mapRectToItem(frame, QRectF(0, 0, item->width(), item->height()));
        return box.top() >= -0.5 && box.bottom() <= frame->height() + 0.5;
    };
    EXPECT_TRUE(window.contains(list->mapRectToScene(QRectF(0, 0, list->width(), list->height()))));
    const auto focusedRow = [&]() -> QQuickItem * {
        for (QQuickItem *item : itemsBelow(list)) {
            if (item->objectName() == QLatin1String("choiceRow") && item->property("focused").toBool())
                return item;
        }
        return nullptr;
    };
    for (int step : { 15, -15 }) {
        for (int i = 0; i < std::abs(step); ++i)
            kitServices().router()->dispatch(Key { step > 0 ? Key::Kind::down : Key::Kind::up, {} });
        EXPECT_EQ(focusIndex(), step > 0 ? 15 : 0);
        QQuickItem *row = focusedRow();
        ASSERT_TRUE(row);
        EXPECT_TRUE(inView(row, list)) << step;
    }
}

enum class Target { lastRow, scrim, panelTitle, cancel };

struct ClickCase {
    const char *name;
    Target target;
    QList<int> chosen;
    bool closes;
};

class ChoiceDialogClicks : public ChoiceDialogViewTest, public ::testing::WithParamInterface<ClickCase> { };

TEST_P(ChoiceDialogClicks, RowChoosesScrimAndCancelDismissPanelDoesNothing)
{
    open(1);
    const QPoint at = [&] {
        switch (GetParam().target) {
        case Target::lastRow:
            return centreOf(rows.last());
        case Target::scrim:
            return QPoint(10, 10);
        case Target::panelTitle:
            return rows.first()->mapToScene(QPointF(20, -30)).toPoint();
        case Target::cancel:
            return centreOf(page->child(QStringLiteral("cancelButton")));
        }
        return QPoint();
    }();
    QTest::mouseClick(&page->view(), Qt::LeftButton, {}, at);
    EXPECT_EQ(chosen, GetParam().chosen);
    EXPECT_EQ(isOpen(), !GetParam().closes);
}

INSTANTIATE_TEST_SUITE_P(Clicks, ChoiceDialogClicks,
    ::testing::Values(ClickCase { "rowOffTheFocus", Target::lastRow, { 2 }, true },
        ClickCase { "scrim", Target::scrim, {}, true },
        ClickCase { "panelTitle", Target::panelTitle, {}, false },
        ClickCase { "cancel", Target::cancel, {}, true }),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
