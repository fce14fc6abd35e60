#include "AppStateFixture.h"
#include "app/ChoiceDialog.h"
#include "app/KeyRouter.h"
#include "app/Localization.h"

#include <gtest/gtest.h>

namespace {

using K = Key::Kind;

Key key(K kind)
{
    return { kind, {} };
}

// A router over its own AppState, with recorded quits and full-screen toggles.
class KeyRouterTest : public ::testing::Test {
protected:
    AppStateFixture fixture;
    AppState &state = fixture.makeState();
    QString language = QStringLiteral("en");
    bool editing = false;
    int quits = 0;
    int toggles = 0;
    KeyRouter router { &state,
        { .clock = &fixture.clock,
            .quit = [this] { ++quits; },
            .toggleFullScreen = [this] { ++toggles; },
            .language = [this] { return language; },
            .editing = [this] { return editing; } } };
    QList<Key> seen;

    // A handler that records every key and uses those of `used`.
    KeyHandlerFn recorder(QList<K> used)
    {
        return [this, used](const Key &key) {
            seen.append(key);
            return used.contains(key.kind);
        };
    }
    void openDialog()
    {
        state.setDialog(std::make_unique<ChoiceDialogModel>(
            QStringLiteral("Sort"), QStringList { QStringLiteral("A") }, 0, [](int) {}));
    }
};

TEST_F(KeyRouterTest, FToggleFullScreenOnlyWhenUnused)
{
    EXPECT_TRUE(router.dispatch(Key::character(QStringLiteral("f"))));
    EXPECT_FALSE(router.dispatch(Key::character(QStringLiteral("g"))));
    EXPECT_FALSE(router.dispatch(key(K::enter)));
    EXPECT_EQ(toggles, 1);

    router.registerHandler(
        QUuid::createUuid(), [](const Key &key) { return key.text == QLatin1String("f"); });
    EXPECT_TRUE(router.dispatch(Key::character(QStringLiteral("f"))));
    EXPECT_EQ(toggles, 1) << "the screen used F";
}

TEST_F(KeyRouterTest, EscClosesDialogBeforePopping)
{
    state.replace(Routes::Home {});
    state.push(Routes::Live {});
    openDialog();

    EXPECT_TRUE(router.dispatch(key(K::esc)));
    EXPECT_EQ(state.dialog(), nullptr);
    EXPECT_EQ(state.stack().size(), 2);
    EXPECT_TRUE(router.dispatch(key(K::esc)));
    EXPECT_EQ(state.stack().size(), 1);
    EXPECT_TRUE(isRoute<Routes::Home>(state.current()));
}

TEST_F(KeyRouterTest, EscOnAnotherLoneScreenGoesOn)
{
    EXPECT_FALSE(router.dispatch(key(K::esc)));
    EXPECT_TRUE(isRoute<Routes::Splash>(state.current()));
    EXPECT_FALSE(state.toastVisible());
    EXPECT_EQ(quits, 0);
}

TEST_F(KeyRouterTest, HandlerIsAskedBeforeTheDefaults)
{
    state.replace(Routes::Home {});
    state.push(Routes::Search {});
    router.registerHandler(QUuid::createUuid(), recorder({ K::esc }));
    EXPECT_TRUE(router.dispatch(key(K::esc)));
    EXPECT_EQ(state.stack().size(), 2) << "the screen used Esc, nothing popped";
    ASSERT_EQ(seen.size(), 1);
}

struct QuitRow {
    const char *name;
    qint64 secondEscAfterMs;
    bool quits;
};

class QuitWindowTest : public KeyRouterTest, public ::testing::WithParamInterface<QuitRow> { };

TEST_P(QuitWindowTest, SecondEscWithinTwoSecondsQuits)
{
    const QuitRow &row = GetParam();
    state.replace(Routes::Home {});
    EXPECT_TRUE(router.dispatch(key(K::esc)));
    EXPECT_EQ(state.toast(), ::tr(QStringLiteral("quit_hint")));
    EXPECT_EQ(quits, 0);

    fixture.clock.advance(row.secondEscAfterMs);
    EXPECT_TRUE(router.dispatch(key(K::esc)));
    EXPECT_EQ(quits, row.quits ? 1 : 0);
    if (!row.quits) {
        EXPECT_TRUE(state.toastVisible()) << "the hint shows again";
        fixture.clock.advance(1500);
        EXPECT_TRUE(router.dispatch(key(K::esc)));
        EXPECT_EQ(quits, 1) << "the second hint restarted the window";
    }
}

INSTANTIATE_TEST_SUITE_P(Table, QuitWindowTest,
    ::testing::Values(QuitRow { "At1500", 1500, true }, QuitRow { "At1999", 1999, true },
        QuitRow { "At2000", 2000, false }, QuitRow { "At2500", 2500, false }),
    [](const auto &info) { return std::string(info.param.name); });

struct EditingRow {
    const char *name;
    Key key;
    bool reachesHandler;
};

class EditingRuleTest : public KeyRouterTest, public ::testing::WithParamInterface<EditingRow> { };

TEST_P(EditingRuleTest, OnlyNavigationLeavesTheField)
{
    const EditingRow &row = GetParam();
    editing = true;
    state.replace(Routes::Home {});
    router.registerHandler(QUuid::createUuid(), recorder({}));
    router.dispatch(row.key);
    EXPECT_EQ(seen.size(), row.reachesHandler ? 1 : 0);
    EXPECT_EQ(toggles, 0) << "F in a field is typed, not a toggle";
    EXPECT_EQ(quits, 0);
}

INSTANTIATE_TEST_SUITE_P(Table, EditingRuleTest,
    ::testing::Values(EditingRow { "Letter", Key::character(QStringLiteral("a")), false },
        EditingRow { "F", Key::character(QStringLiteral("f")), false },
        EditingRow { "Left", key(K::left), false }, EditingRow { "Right", key(K::right), false },
        EditingRow { "Space", key(K::space), false }, EditingRow { "Home", key(K::home), false },
        EditingRow { "End", key(K::end), false }, EditingRow { "Up", key(K::up), true },
        EditingRow { "Down", key(K::down), true }, EditingRow { "Enter", key(K::enter), true },
        EditingRow { "Esc", key(K::esc), true }, EditingRow { "Tab", key(K::tab), true },
        EditingRow { "PageUp", key(K::pageUp), true }, EditingRow { "PageDown", key(K::pageDown), true }),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(KeyRouterTest, ArabicSwapsLeftAndRight)
{
    router.registerHandler(QUuid::createUuid(), recorder({}));
    language = QStringLiteral("ar");
    router.dispatch(key(K::left));
    router.dispatch(key(K::right));
    router.dispatch(key(K::up));
    language = QStringLiteral("fr");
    router.dispatch(key(K::left));
    EXPECT_EQ(seen, (QList<Key> { key(K::right), key(K::left), key(K::up), key(K::left) }));
}

TEST_F(KeyRouterTest, OnlyTheTopHandlerIsAsked)
{
    const QUuid screen = QUuid::createUuid();
    const QUuid dialog = QUuid::createUuid();
    int screenCalls = 0;
    router.registerHandler(screen, [&](const Key &) {
        ++screenCalls;
        return true;
    });
    router.registerHandler(dialog, recorder({}));

    EXPECT_FALSE(router.dispatch(key(K::down))) << "the top refused and no default applies";
    EXPECT_EQ(screenCalls, 0);
    router.registerHandler(screen, [&](const Key &) {
        ++screenCalls;
        return true;
    });
    EXPECT_EQ(router.handlerCount(), 2) << "the same id twice leaves one entry";
    EXPECT_TRUE(router.dispatch(key(K::down)));
    EXPECT_EQ(screenCalls, 1) << "re-registering moved it to the top";
    router.unregisterHandler(screen);
    router.dispatch(key(K::up));
    EXPECT_EQ(seen.size(), 2);
}

// A screen view-model that records its keys and uses arrows.
class ScreenModel : public KeyHandler {
public:
    using KeyHandler::KeyHandler;
    bool handleKey(const Key &key) override
    {
        keys.append(key);
        return key.kind == K::down;
    }
    QList<Key> keys;
};

TEST_F(KeyRouterTest, DialogAboveScreenThenScreenAgain)
{
    ScreenModel screen(&router);
    screen.setActive(true);
    auto *model = new ChoiceDialogModel(
        QStringLiteral("Sort"), { QStringLiteral("A"), QStringLiteral("B") }, 0, [](int) {});
    state.setDialog(std::unique_ptr<ChoiceDialogModel>(model));
    {
        ChoiceDialogController dialog(&state, &router);
        dialog.setModel(model);
        dialog.setActive(true);
        EXPECT_TRUE(router.dispatch(key(K::down)));
        EXPECT_EQ(dialog.focus(), 1);
        EXPECT_TRUE(screen.keys.isEmpty()) << "the screen sees nothing while the dialog is up";
    }
    EXPECT_EQ(router.handlerCount(), 1) << "a destroyed handler leaves the list";
    EXPECT_TRUE(router.dispatch(key(K::down)));
    EXPECT_EQ(screen.keys.size(), 1);

    screen.setActive(false);
    EXPECT_EQ(router.handlerCount(), 0);
    router.dispatch(key(K::down));
    EXPECT_EQ(screen.keys.size(), 1) << "an inactive screen gets no keys";
}

} // namespace
