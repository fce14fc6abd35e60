#include "AppStateFixture.h"
#include "app/ChoiceDialog.h"

namespace {

using K = Key::Kind;

// A router over its own AppState, with recorded full-screen toggles.
class KeyRouterTest : public ::testing::Test {
protected:
    AppStateFixture fixture;
    AppState &state = fixture.makeState();
    QString language = u"en"_qs;
    bool editing = false;
    int toggles = 0;
    KeyRouter router { &state,
        { .toggleFullScreen = [this] { ++toggles; },
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
};

TEST_F(KeyRouterTest, DefaultsTakeOnlyKeysTheScreenLeaves)
{
    EXPECT_TRUE(router.dispatch(Key::character(u"f"_qs)));
    for (const Key &other : keys("gEX"))
        EXPECT_FALSE(router.dispatch(other)) << "Esc on a lone screen goes on";
    EXPECT_EQ(toggles, 1);
    EXPECT_TRUE(isRoute<Routes::Splash>(state.current()));
    EXPECT_FALSE(state.toastVisible());

    state.replace(Routes::Home {});
    state.push(Routes::Search {});
    router.registerHandler(QUuid::createUuid(), recorder({ K::esc, K::character }));
    EXPECT_TRUE(router.dispatch(Key::character(u"f"_qs)));
    EXPECT_TRUE(router.dispatch(key(K::esc)));
    EXPECT_EQ(seen, keys("fX"));
    EXPECT_EQ(toggles, 1) << "the screen used F";
    EXPECT_EQ(state.stack().size(), 2) << "the screen used Esc, nothing popped";
}

TEST_F(KeyRouterTest, EscClosesTheDialogBeforePopping)
{
    state.replace(Routes::Home {});
    state.push(Routes::Live {});
    state.setDialog(std::make_unique<ChoiceDialogModel>(u"Sort"_qs, QStringList { u"A"_qs }, 0, [](int) {}));
    EXPECT_TRUE(router.dispatch(key(K::esc)));
    EXPECT_EQ(state.dialog(), nullptr);
    EXPECT_EQ(state.stack().size(), 2);
    EXPECT_TRUE(router.dispatch(key(K::esc)));
    EXPECT_EQ(state.stack().size(), 1);
    EXPECT_TRUE(isRoute<Routes::Home>(state.current()));
    EXPECT_FALSE(state.toastVisible());
}

TEST_F(KeyRouterTest, HeldKeysStillReachTheHandler)
{
    router.registerHandler(QUuid::createUuid(), recorder({ K::down }));
    Key held = key(K::down);
    held.held = true;
    EXPECT_TRUE(router.dispatch(held));
    EXPECT_EQ(seen, QList<Key> { held });
}

TEST_F(KeyRouterTest, WhileEditingOnlyNavigationLeavesTheField)
{
    editing = true;
    state.replace(Routes::Home {});
    router.registerHandler(QUuid::createUuid(), recorder({}));
    const QList<Key> navigation = keys("UDEXT[]");
    for (const Key &typed : keys("afLRS<>"))
        EXPECT_FALSE(router.dispatch(typed));
    for (const Key &leaving : navigation)
        router.dispatch(leaving);
    EXPECT_EQ(seen, navigation);
    EXPECT_EQ(toggles, 0) << "F in a field is typed, not a toggle";
}

TEST_F(KeyRouterTest, ArabicSwapsLeftAndRight)
{
    router.registerHandler(QUuid::createUuid(), recorder({}));
    language = u"ar"_qs;
    for (const Key &pressed : keys("LRU"))
        router.dispatch(pressed);
    language = u"fr"_qs;
    router.dispatch(key(K::left));
    EXPECT_EQ(seen, keys("RLUL"));
}

TEST_F(KeyRouterTest, OnlyTheTopHandlerIsAsked)
{
    const QUuid screen = QUuid::createUuid();
    int screenCalls = 0;
    const auto screenHandler = [&](const Key &) {
        ++screenCalls;
        return true;
    };
    router.registerHandler(screen, screenHandler);
    router.registerHandler(QUuid::createUuid(), recorder({}));

    EXPECT_FALSE(router.dispatch(key(K::down))) << "the top refused and no default applies";
    EXPECT_EQ(screenCalls, 0);
    router.registerHandler(screen, screenHandler);
    EXPECT_TRUE(router.dispatch(key(K::down)));
    EXPECT_EQ(screenCalls, 1) << "re-registering moved it to the top";
    router.unregisterHandler(screen);
    router.dispatch(key(K::up));
    EXPECT_EQ(seen, keys("DU"));
}

// A screen view-model that records its keys and uses Down.
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
    auto *model = new ChoiceDialogModel(u"Sort"_qs, { u"A"_qs, u"B"_qs }, 0, [](int) {});
    state.setDialog(std::unique_ptr<ChoiceDialogModel>(model));
    {
        ChoiceDialogController dialog(&state, &router);
        dialog.setModel(model);
        dialog.setActive(true);
        EXPECT_TRUE(router.dispatch(key(K::down)));
        EXPECT_EQ(dialog.focus(), 1);
        EXPECT_TRUE(screen.keys.isEmpty()) << "the screen sees nothing while the dialog is up";
    }
    EXPECT_TRUE(router.dispatch(key(K::down)));
    EXPECT_EQ(screen.keys.size(), 1) << "a destroyed handler leaves the list";

    screen.setActive(false);
    router.dispatch(key(K::down));
    EXPECT_EQ(screen.keys.size(), 1) << "an inactive screen gets no keys";
}

} // namespace
