#include "AppStateFixture.h"
#include "app/ChoiceDialog.h"

namespace {

// An open dialog over its own AppState, its controller, and the indexes its action got.
class ChoiceDialogTest : public ::testing::Test {
protected:
    AppStateFixture fixture;
    AppState &state = fixture.makeState();
    KeyRouter router { &state };
    ChoiceDialogController controller { &state, &router };
    QList<int> chosen;

    ChoiceDialogModel *open(int optionCount, int selected)
    {
        QStringList options;
        for (int i = 0; i < optionCount; ++i)
            options.append(u"Option %1"_qs.arg(i));
        auto model = std::make_unique<ChoiceDialogModel>(
            u"Choose"_qs, options, selected, [this](int index) { chosen.append(index); });
        ChoiceDialogModel *shown = model.get();
        state.setDialog(std::move(model));
        controller.setModel(shown);
        return shown;
    }
};

TEST_F(ChoiceDialogTest, FocusStartsWithinTheOptionsAndEnterChoosesAValidIndex)
{
    struct Row {
        int options;
        int selected;
        int focus; // when the dialog appears
        QList<int> enterGets;
    };
    const Row rows[] = { { 3, -1, 0, { 0 } }, { 3, 1, 1, { 1 } }, { 3, 2, 2, { 2 } }, { 3, 3, 2, { 2 } },
        { 3, 40, 2, { 2 } }, { 0, 0, 0, {} } };
    for (const Row &row : rows) {
        SCOPED_TRACE(testing::Message() << row.options << " options, selected " << row.selected);
        chosen.clear();
        open(row.options, row.selected);
        EXPECT_EQ(controller.focus(), row.focus);
        EXPECT_TRUE(controller.handleKey(key(Key::Kind::enter)));
        EXPECT_EQ(chosen, row.enterGets);
        EXPECT_EQ(state.dialog(), nullptr) << "a choice always dismisses";
    }
}

TEST_F(ChoiceDialogTest, ArrowsStopAtTheEndsAndSpaceChoosesTheFocusedRow)
{
    ChoiceDialogModel *model = open(3, 2);
    QSignalSpy focusSpy(&controller, &ChoiceDialogController::focusChanged);
    press(controller, "UUU");
    EXPECT_EQ(controller.focus(), 0);
    press(controller, "DDDDD");
    EXPECT_EQ(controller.focus(), 2);
    EXPECT_EQ(focusSpy.count(), 4);
    press(controller, "UUS");
    EXPECT_EQ(chosen, QList<int> { 0 });
    EXPECT_EQ(model->selected(), 2) << "the mark never moves";
}

TEST_F(ChoiceDialogTest, EveryKeyIsTakenAndOnlyEscCloses)
{
    open(2, 0);
    EXPECT_TRUE(press(controller, "fLRT[]<>"));
    EXPECT_NE(state.dialog(), nullptr);
    EXPECT_EQ(controller.focus(), 0);
    EXPECT_TRUE(controller.handleKey(key(Key::Kind::esc)));
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
    auto model = std::make_unique<ChoiceDialogModel>(u"First"_qs, QStringList { u"A"_qs }, 0, [this](int) {
        state.setDialog(
            std::make_unique<ChoiceDialogModel>(u"Second"_qs, QStringList { u"B"_qs }, 0, [](int) {}));
    });
    ChoiceDialogModel *first = model.get();
    state.setDialog(std::move(model));
    controller.setModel(first);
    controller.choose(0);
    ASSERT_NE(state.dialog(), nullptr) << "the new dialog stays open";
    EXPECT_EQ(state.dialog()->title(), u"Second"_qs);
}

} // namespace
