#include "AppStateFixture.h"
#include "app/ChoiceDialog.h"
#include "app/KeyRouter.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

using K = Key::Kind;

Key key(K kind)
{
    return { kind, {} };
}

// An open dialog over its own AppState, its controller, and the indexes its action got.
class ChoiceDialogTest : public ::testing::Test {
protected:
    AppStateFixture fixture;
    AppState &state = fixture.makeState();
    KeyRouter router { &state, { .clock = &fixture.clock } };
    ChoiceDialogController controller { &state, &router };
    QList<int> chosen;

    ChoiceDialogModel *open(int optionCount, int selected)
    {
        QStringList options;
        for (int i = 0; i < optionCount; ++i)
            options.append(QStringLiteral("Option %1").arg(i));
        auto model = std::make_unique<ChoiceDialogModel>(
            QStringLiteral("Choose"), options, selected, [this](int index) { chosen.append(index); });
        ChoiceDialogModel *shown = model.get();
        state.setDialog(std::move(model));
        controller.setModel(shown);
        return shown;
    }
};

struct FocusRow {
    const char *name;
    int options;
    int selected;
    int focus; // when the dialog appears
    int enterGets; // what Enter hands to the action; -1 for no call
};

class DialogFocusTest : public ChoiceDialogTest, public ::testing::WithParamInterface<FocusRow> { };

TEST_P(DialogFocusTest, FocusStartsWithinTheOptions)
{
    const FocusRow &row = GetParam();
    open(row.options, row.selected);
    EXPECT_EQ(controller.focus(), row.focus);

    EXPECT_TRUE(controller.handleKey(key(K::enter)));
    EXPECT_EQ(chosen, row.enterGets < 0 ? QList<int> {} : QList<int> { row.enterGets });
    for (int index : chosen)
        EXPECT_TRUE(index >= 0 && index < row.options) << "out-of-range index " << index;
    EXPECT_EQ(state.dialog(), nullptr) << "a choice always dismisses";
}

INSTANTIATE_TEST_SUITE_P(Table, DialogFocusTest,
    ::testing::Values(FocusRow { "NoneSelected", 3, -1, 0, 0 }, FocusRow { "MiddleSelected", 3, 1, 1, 1 },
        FocusRow { "LastSelected", 3, 2, 2, 2 }, FocusRow { "SelectedPastEnd", 3, 3, 2, 2 },
        FocusRow { "SelectedFarPastEnd", 3, 40, 2, 2 }, FocusRow { "NoOptions", 0, 0, 0, -1 }),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(ChoiceDialogTest, ArrowsStopAtTheEnds)
{
    open(3, 0);
    QSignalSpy focusSpy(&controller, &ChoiceDialogController::focusChanged);
    controller.handleKey(key(K::up));
    EXPECT_EQ(controller.focus(), 0);
    for (int i = 0; i < 5; ++i)
        controller.handleKey(key(K::down));
    EXPECT_EQ(controller.focus(), 2);
    EXPECT_EQ(focusSpy.count(), 2);
    controller.handleKey(key(K::up));
    EXPECT_EQ(controller.focus(), 1);
}

TEST_F(ChoiceDialogTest, SpaceChoosesTheFocusedRowNotTheMarkedOne)
{
    ChoiceDialogModel *model = open(3, 2);
    controller.handleKey(key(K::up));
    controller.handleKey(key(K::up));
    controller.handleKey(key(K::space));
    EXPECT_EQ(chosen, QList<int> { 0 });
    EXPECT_EQ(model->selected(), 2) << "the mark never moves";
}

TEST_F(ChoiceDialogTest, EveryKeyIsTakenAndOnlyEscCloses)
{
    open(2, 0);
    for (const Key &other : { Key::character(QStringLiteral("f")), key(K::left), key(K::right), key(K::tab),
             key(K::pageUp), key(K::pageDown), key(K::home), key(K::end) })
        EXPECT_TRUE(controller.handleKey(other));
    EXPECT_NE(state.dialog(), nullptr);
    EXPECT_EQ(controller.focus(), 0);
    EXPECT_TRUE(controller.handleKey(key(K::esc)));
    EXPECT_EQ(state.dialog(), nullptr);
    EXPECT_TRUE(chosen.isEmpty());
}

TEST_F(ChoiceDialogTest, ClickOutsideTheOptionsNeverReachesTheAction)
{
    ChoiceDialogModel *model = open(2, 0);
    EXPECT_FALSE(model->select(2));
    EXPECT_FALSE(model->select(-1));
    EXPECT_TRUE(model->select(1));
    controller.choose(5);
    EXPECT_EQ(chosen, QList<int> { 1 });
}

TEST_F(ChoiceDialogTest, ActionMayOpenTheNextDialog)
{
    auto model = std::make_unique<ChoiceDialogModel>(
        QStringLiteral("First"), QStringList { QStringLiteral("A") }, 0, [this](int) {
            state.setDialog(std::make_unique<ChoiceDialogModel>(
                QStringLiteral("Second"), QStringList { QStringLiteral("B") }, 0, [](int) {}));
        });
    ChoiceDialogModel *first = model.get();
    state.setDialog(std::move(model));
    controller.setModel(first);
    controller.choose(0);
    ASSERT_NE(state.dialog(), nullptr) << "the new dialog stays open";
    EXPECT_EQ(state.dialog()->title(), QStringLiteral("Second"));
}

} // namespace
