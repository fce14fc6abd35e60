#include "AppStateFixture.h"
#include "LayerStandIn.h"
#include "app/PlaylistPickerScreenModel.h"

#include <QSignalSpy>

#include <memory>

namespace {

class PickerFixture : public ::testing::Test {
protected:
    void SetUp() override { setActiveLanguage(u"en"_qs); }

    // The picker as the only entry, or pushed over home, for playlists with these ids.
    PlaylistPickerScreenModel &start(
        const QList<qint64> &ids, std::optional<qint64> saved, bool pushed = false)
    {
        picker.reset();
        if (!ids.isEmpty())
            fixture.cacheDevice(AppStateFixture::device(ids));
        if (saved)
            fixture.prefs->setSelectedPlaylistId(*saved);
        fixture.makeState(pushed ? QList<Route> { Routes::Home {}, Routes::PlaylistPicker {} }
                                 : QList<Route> { Routes::PlaylistPicker {} });
        picker = std::make_unique<PlaylistPickerScreenModel>(fixture.screenDeps(), fixture.topEntry());
        showAsLayerWould(*picker, *fixture.state);
        return *picker;
    }

    AppStateFixture fixture;
    std::unique_ptr<PlaylistPickerScreenModel> picker;
};

struct FocusCase {
    const char *name;
    QList<qint64> ids;
    std::optional<qint64> saved;
    int initial;
    const char *keys;
    QList<int> focus; // after each key
};

class PickerFocus : public PickerFixture, public ::testing::WithParamInterface<FocusCase> { };

TEST_P(PickerFocus, StartsOnTheSavedCardAndMovesWithinTheList)
{
    start(GetParam().ids, GetParam().saved);
    EXPECT_EQ(picker->focus(), GetParam().initial);
    QList<int> focus;
    for (const Key &key : keys(GetParam().keys)) {
        EXPECT_TRUE(picker->handleKey(key));
        focus.append(picker->focus());
    }
    EXPECT_EQ(focus, GetParam().focus);
    for (const Key &other : keys("XTf"))
        EXPECT_FALSE(picker->handleKey(other));
}

INSTANTIATE_TEST_SUITE_P(Keys, PickerFocus,
    ::testing::Values(FocusCase { "savedThird", { 1, 2, 3 }, 3, 2, "UDD", { 1, 2, 2 } },
        FocusCase { "nothingSavedStartsFirst", { 1, 2, 3 }, std::nullopt, 0, "LLRRR", { 0, 0, 1, 2, 2 } },
        FocusCase { "savedMatchesNothing", { 1, 2 }, 9, 0, "RR", { 1, 1 } },
        FocusCase { "savedMinusOneMatches", { 5, -1 }, std::nullopt, 1, "", {} },
        FocusCase { "emptyListDownGoesBelowZeroAndBack", {}, std::nullopt, 0, "DU", { -1, 0 } }),
    [](const auto &info) { return std::string(info.param.name); });

struct SelectCase {
    const char *name;
    std::optional<qint64> saved;
    const char *keys;
    qint64 stored;
    int stops;
};

class PickerSelect : public PickerFixture, public ::testing::WithParamInterface<SelectCase> { };

TEST_P(PickerSelect, SavesStopsWhenChangedAndGoesHome)
{
    start({ 7, 9, 11 }, GetParam().saved, true);
    // The state announces the choice once it is saved, before playback stops and home shows.
    QStringList announced;
    QObject::connect(fixture.state.get(), &AppState::deviceChanged, picker.get(), [this, &announced] {
        announced.append(u"%1 %2 %3"_qs.arg(fixture.prefs->selectedPlaylistId())
                             .arg(fixture.playback.stops)
                             .arg(fixture.route()));
    });
    QSignalSpy cards(picker.get(), &PlaylistPickerScreenModel::cardsChanged);
    EXPECT_TRUE(press(*picker, GetParam().keys));
    EXPECT_EQ(announced, QStringList { u"%1 0 playlistPicker"_qs.arg(GetParam().stored) });
    EXPECT_EQ(cards.count(), 1) << "the saved mark is read again";
    EXPECT_EQ(fixture.prefs->selectedPlaylistId(), GetParam().stored);
    EXPECT_EQ(fixture.playback.stops, GetParam().stops);
    EXPECT_EQ(fixture.state->stack().size(), 1);
    EXPECT_EQ(fixture.route(), u"home"_qs);
    EXPECT_EQ(fixture.state->activePlaylist()->id, GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(Choices, PickerSelect,
    ::testing::Values(SelectCase { "sameAsSavedKeepsPlaying", 9, "E", 9, 0 },
        SelectCase { "otherStops", 9, "RE", 11, 1 },
        SelectCase { "firstChoiceStops", std::nullopt, "E", 7, 1 },
        SelectCase { "savedGoneStops", 4, "RRS", 11, 1 }),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(PickerFixture, EnterOnEmptyListDoesNothing)
{
    start({}, std::nullopt);
    EXPECT_TRUE(press(*picker, "S"));
    EXPECT_EQ(fixture.route(), u"playlistPicker"_qs);
    EXPECT_EQ(fixture.prefs->selectedPlaylistId(), -1);
    EXPECT_EQ(fixture.playback.stops, 0);
}

TEST_F(PickerFixture, CardsNameNumberAndMarkTheSavedPlaylist)
{
    DeviceResponse device = AppStateFixture::device({ 4, 5, 6 });
    device.playlists[1].name.clear();
    fixture.cacheDevice(device);
    start({}, 6);
    const auto card = [](qint64 id, const QString &title, int n, bool saved) {
        return QVariantMap { { u"id"_qs, id }, { u"title"_qs, title },
            { u"subtitle"_qs, u"Playlist \u2068%1\u2069"_qs.arg(n) }, { u"saved"_qs, saved } };
    };
    EXPECT_EQ(picker->cards(),
        (QVariantList { card(4, u"List 4"_qs, 1, false), card(5, u"Playlist"_qs, 2, false),
            card(6, u"List 6"_qs, 3, true) }));
}

TEST_F(PickerFixture, BackOnlyWhenPushed)
{
    EXPECT_FALSE(start({ 1, 2 }, std::nullopt).canGoBack());
    EXPECT_TRUE(start({ 1, 2 }, std::nullopt, true).canGoBack());
    picker->back();
    EXPECT_EQ(fixture.state->stack().size(), 1);
    EXPECT_EQ(fixture.route(), u"home"_qs);
}

} // namespace
