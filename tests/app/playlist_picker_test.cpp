#include "AppStateFixture.h"
#include "app/KeyRouter.h"
#include "app/Localization.h"
#include "app/PlaybackControl.h"
#include "app/PlaylistPickerScreen.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// Our own playback interface's double: counts the stops it was asked for.
class RecordingPlayback final : public PlaybackControl {
public:
    void stop() override { ++stops; }
    int stops = 0;
};

class PickerFixture : public ::testing::Test {
protected:
    void SetUp() override { setActiveLanguage(QStringLiteral("en")); }

    // The picker as the only entry, or pushed over home, for playlists with these ids.
    PlaylistPickerScreen &start(const QList<qint64> &ids, std::optional<qint64> saved, int depth = 1)
    {
        if (!ids.isEmpty())
            fixture.cacheDevice(AppStateFixture::device(ids));
        if (saved)
            fixture.prefs->setSelectedPlaylistId(*saved);
        AppState &state = fixture.makeState();
        state.replace(depth == 1 ? Route(Routes::PlaylistPicker {}) : Route(Routes::Home {}));
        if (depth > 1)
            state.push(Routes::PlaylistPicker {});
        router = std::make_unique<KeyRouter>(&state, KeyRouterHooks { .clock = &fixture.clock });
        picker = std::make_unique<PlaylistPickerScreen>(&state, router.get(), &playback);
        picker->setActive(true);
        return *picker;
    }
    QString route() const { return routeName(fixture.state->current()); }

    AppStateFixture fixture;
    RecordingPlayback playback;
    std::unique_ptr<KeyRouter> router;
    std::unique_ptr<PlaylistPickerScreen> picker;
};

Key keyOf(QChar c)
{
    switch (c.unicode()) {
    case 'U':
        return { Key::Kind::up, {} };
    case 'D':
        return { Key::Kind::down, {} };
    case 'L':
        return { Key::Kind::left, {} };
    case 'R':
        return { Key::Kind::right, {} };
    default:
        return Key::character(QString(c));
    }
}

struct FocusCase {
    const char *name;
    QList<qint64> ids;
    std::optional<qint64> saved;
    int initial;
    const char *keys;
    int focus;
};

class PickerFocus : public PickerFixture, public ::testing::WithParamInterface<FocusCase> {};

TEST_P(PickerFocus, StartsOnTheSavedCardAndMovesWithinTheList)
{
    start(GetParam().ids, GetParam().saved);
    EXPECT_EQ(picker->focus(), GetParam().initial);
    for (QChar c : QString::fromLatin1(GetParam().keys))
        EXPECT_TRUE(picker->handleKey(keyOf(c)));
    EXPECT_EQ(picker->focus(), GetParam().focus);
}

INSTANTIATE_TEST_SUITE_P(Keys, PickerFocus,
    ::testing::Values(FocusCase { "savedThirdThenUp", { 1, 2, 3 }, 3, 2, "U", 1 },
        FocusCase { "downStopsAtLast", { 1, 2, 3 }, 3, 2, "UDD", 2 },
        FocusCase { "nothingSavedStartsFirst", { 1, 2, 3 }, std::nullopt, 0, "LL", 0 },
        FocusCase { "savedMatchesNothing", { 1, 2 }, 9, 0, "RR", 1 },
        FocusCase { "savedMinusOneMatches", { 5, -1 }, std::nullopt, 1, "", 1 },
        FocusCase { "emptyListDownGoesBelowZero", {}, std::nullopt, 0, "D", -1 },
        FocusCase { "emptyListUpComesBack", {}, std::nullopt, 0, "DU", 0 }),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(PickerFixture, OtherKeysAreNotTaken)
{
    start({ 1, 2 }, std::nullopt);
    for (const Key &key : { Key { Key::Kind::esc, {} }, Key { Key::Kind::tab, {} }, Key::character(QStringLiteral("f")) })
        EXPECT_FALSE(picker->handleKey(key));
}

struct SelectCase {
    const char *name;
    std::optional<qint64> saved;
    int rights; // before Enter
    qint64 stored;
    int stops;
};

class PickerSelect : public PickerFixture, public ::testing::WithParamInterface<SelectCase> {};

TEST_P(PickerSelect, SavesStopsWhenChangedAndGoesHome)
{
    start({ 7, 9, 11 }, GetParam().saved, 2);
    for (int i = 0; i < GetParam().rights; ++i)
        picker->handleKey({ Key::Kind::right, {} });
    EXPECT_TRUE(picker->handleKey({ Key::Kind::enter, {} }));
    EXPECT_EQ(fixture.prefs->selectedPlaylistId(), GetParam().stored);
    EXPECT_EQ(playback.stops, GetParam().stops);
    EXPECT_EQ(fixture.state->stack().size(), 1);
    EXPECT_EQ(route(), QStringLiteral("home"));
    EXPECT_EQ(fixture.state->activePlaylist()->id, GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(Choices, PickerSelect,
    ::testing::Values(SelectCase { "sameAsSavedKeepsPlaying", 9, 0, 9, 0 },
        SelectCase { "otherStops", 9, 1, 11, 1 }, SelectCase { "firstChoiceStops", std::nullopt, 0, 7, 1 },
        SelectCase { "savedGoneStops", 4, 2, 11, 1 }),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(PickerFixture, EnterOnEmptyListDoesNothing)
{
    start({}, std::nullopt);
    EXPECT_TRUE(picker->handleKey({ Key::Kind::space, {} }));
    EXPECT_EQ(route(), QStringLiteral("playlistPicker"));
    EXPECT_EQ(fixture.prefs->selectedPlaylistId(), -1);
    EXPECT_EQ(playback.stops, 0);
}

TEST_F(PickerFixture, ChoosingWithoutAnEngineStillGoesHome)
{
    fixture.cacheDevice(AppStateFixture::device({ 1, 2 }));
    AppState &state = fixture.makeState();
    PlaylistPickerScreen bare(&state, nullptr, nullptr);
    bare.select(2);
    EXPECT_EQ(fixture.prefs->selectedPlaylistId(), 2);
    EXPECT_EQ(route(), QStringLiteral("home"));
}

TEST_F(PickerFixture, CardsNameNumberAndMarkTheSavedPlaylist)
{
    DeviceResponse device = AppStateFixture::device({ 4, 5, 6 });
    device.playlists[1].name.clear();
    fixture.cacheDevice(device);
    start({}, 6);
    const QVariantList cards = picker->cards();
    ASSERT_EQ(cards.size(), 3);
    const QStringList titles { u"List 4"_qs, u"Playlist"_qs, u"List 6"_qs };
    for (int i = 0; i < 3; ++i) {
        const QVariantMap card = cards[i].toMap();
        EXPECT_EQ(card.value(u"id"_qs).toLongLong(), 4 + i);
        EXPECT_EQ(card.value(u"title"_qs).toString(), titles[i]);
        EXPECT_EQ(card.value(u"subtitle"_qs).toString(), u"Playlist %1"_qs.arg(i + 1));
        EXPECT_EQ(card.value(u"saved"_qs).toBool(), i == 2);
    }
}

TEST_F(PickerFixture, BackOnlyWhenPushed)
{
    start({ 1, 2 }, std::nullopt, 1);
    EXPECT_FALSE(picker->canGoBack());
    picker.reset();
    fixture.state->push(Routes::PlaylistPicker {});
    PlaylistPickerScreen pushed(fixture.state.get(), router.get(), &playback);
    EXPECT_TRUE(pushed.canGoBack());
    pushed.back();
    EXPECT_EQ(fixture.state->stack().size(), 1);
}

} // namespace
