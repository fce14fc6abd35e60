#include "app/Prefs.h"
#include "model/ContentKeys.h"
#include "model/JsonForms.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

const QString kPortal = QStringLiteral("abc");

FavoriteEntry favorite(const QString &id, ContentType type = ContentType::movie, const QString &name = {})
{
    FavoriteEntry entry;
    entry.playlistId = 7;
    entry.type = type;
    entry.id = id;
    entry.name = name.isEmpty() ? QStringLiteral("Name ") + id : name;
    entry.categoryId = QStringLiteral("3");
    return entry;
}

PlayItem playItem(int n, bool catchup = false)
{
    PlayItem item;
    item.key = itemKey(ContentType::movie, 7, QString::number(n));
    item.title = QStringLiteral("Movie %1").arg(n);
    item.url = QStringLiteral("http://127.0.0.1/%1.mp4").arg(n);
    item.catchup = catchup;
    return item;
}

class PrefsTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path() const { return dir.filePath(QStringLiteral("defaults.json")); }
    std::unique_ptr<Prefs> open(const QString &portal = kPortal)
    {
        return std::make_unique<Prefs>(path(), portal);
    }
    // What is on disk now, read through a fresh store.
    Defaults stored() const { return Defaults(path()); }
    void seed(const QString &key, const Defaults::Value &value) { Defaults(path()).set(key, value); }
};

TEST_F(PrefsTest, EmptyStoreGivesDefaultsAndWritesNothing)
{
    auto prefs = open();
    EXPECT_EQ(prefs->language(), QStringLiteral("system"));
    EXPECT_EQ(prefs->timeFormat(), QStringLiteral("system"));
    EXPECT_EQ(prefs->aspectMode(), 0);
    EXPECT_EQ(prefs->userAgent(), QStringLiteral("Zelfor/1.1.6 (X11; Linux)"));
    EXPECT_TRUE(prefs->favorites().isEmpty());
    EXPECT_TRUE(prefs->recent().isEmpty());
    EXPECT_TRUE(prefs->recentLive().isEmpty());
    EXPECT_EQ(prefs->selectedPlaylistId(), -1);
    EXPECT_FALSE(prefs->cachedDevice());
    EXPECT_FALSE(QFile::exists(path()));
}

TEST_F(PrefsTest, SettingsAreAnnouncedStoredWithTheirTypesAndReadAfterRestart)
{
    auto prefs = open();
    QSignalSpy language(prefs.get(), &Prefs::languageChanged);
    QSignalSpy aspect(prefs.get(), &Prefs::aspectModeChanged);
    prefs->setLanguage(QStringLiteral("fr"));
    prefs->setTimeFormat(QStringLiteral("24"));
    prefs->setAspectMode(2);
    prefs->setUserAgent(QString());
    prefs->setSelectedPlaylistId(42);
    EXPECT_EQ(language.count(), 1);
    EXPECT_EQ(aspect.count(), 1);

    const Defaults store = stored();
    EXPECT_EQ(store.text(QStringLiteral("language")), QStringLiteral("fr"));
    EXPECT_EQ(store.text(QStringLiteral("time_format")), QStringLiteral("24"));
    EXPECT_EQ(store.integer(QStringLiteral("aspect_mode")), 2);
    EXPECT_EQ(store.integer(QStringLiteral("playlist_id")), 42);

    auto again = open();
    EXPECT_EQ(again->language(), QStringLiteral("fr"));
    EXPECT_EQ(again->timeFormat(), QStringLiteral("24"));
    EXPECT_EQ(again->aspectMode(), 2);
    EXPECT_EQ(again->userAgent(), QString()); // an empty agent is a choice, not a default
    EXPECT_EQ(again->selectedPlaylistId(), 42);
}

TEST_F(PrefsTest, ValuesOfTheWrongTypeReadAsDefaults)
{
    seed(QStringLiteral("playlist_id"), QStringLiteral("5"));
    seed(QStringLiteral("aspect_mode"), QStringLiteral("2"));
    seed(QStringLiteral("language"), qint64(3));
    seed(QStringLiteral("recent_live"), QStringLiteral("7|LIVE|1"));
    auto prefs = open();
    EXPECT_EQ(prefs->selectedPlaylistId(), -1);
    EXPECT_EQ(prefs->aspectMode(), 0);
    EXPECT_EQ(prefs->language(), QStringLiteral("system"));
    EXPECT_TRUE(prefs->recentLive().isEmpty());
}

struct PlaylistIdCase {
    const char *name;
    Defaults::Value stored;
    qint64 expected;
};

class StoredPlaylistId : public PrefsTest, public ::testing::WithParamInterface<PlaylistIdCase> { };

TEST_P(StoredPlaylistId, AnyNumberIsAnIdAnythingElseIsNone)
{
    seed(QStringLiteral("playlist_id"), GetParam().stored);
    EXPECT_EQ(open()->selectedPlaylistId(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Values, StoredPlaylistId,
    ::testing::Values(PlaylistIdCase { "integer", qint64(5), 5 },
        PlaylistIdCase { "largeInteger", qint64(9007199254740993LL), 9007199254740993LL },
        PlaylistIdCase { "wholeDouble", 12.0, 12 }, PlaylistIdCase { "fraction", 7.9, 7 },
        PlaylistIdCase { "negativeDouble", -3.0, -3 }, PlaylistIdCase { "doubleOutOfRange", 1e300, -1 },
        PlaylistIdCase { "text", QStringLiteral("5"), -1 }, PlaylistIdCase { "flag", true, -1 }),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(PrefsTest, ToggleAddsThenRemovesAndIsKeptAcrossRestart)
{
    auto prefs = open();
    QSignalSpy changed(prefs.get(), &Prefs::favoritesChanged);
    FavoriteEntry withCatchup = favorite(QStringLiteral("9"), ContentType::live);
    withCatchup.catchup = Catchup { 3, QStringLiteral("xc"), std::nullopt };
    EXPECT_TRUE(prefs->toggleFavorite(favorite(QStringLiteral("1"))));
    EXPECT_TRUE(prefs->toggleFavorite(withCatchup));
    EXPECT_TRUE(prefs->isFavorite(QStringLiteral("7|MOVIE|1")));
    EXPECT_FALSE(prefs->isFavorite(QStringLiteral("7|SERIES|1")));
    EXPECT_EQ(changed.count(), 2);

    auto again = open();
    EXPECT_EQ(again->favorites(), (QList<FavoriteEntry> { favorite(QStringLiteral("1")), withCatchup }));
    EXPECT_FALSE(
        again->toggleFavorite(favorite(QStringLiteral("1"), ContentType::movie, QStringLiteral("Other"))));
    EXPECT_EQ(again->favorites(), QList<FavoriteEntry> { withCatchup });
    EXPECT_EQ(open()->favorites(), QList<FavoriteEntry> { withCatchup });
}

QByteArray jsonArray(const QList<QJsonObject> &objects)
{
    QJsonArray array;
    for (const QJsonObject &object : objects)
        array.append(object);
    return QJsonDocument(array).toJson();
}

TEST_F(PrefsTest, OneToggleRemovesEveryStoredDuplicate)
{
    const FavoriteEntry a = favorite(QStringLiteral("1"));
    const FavoriteEntry b = favorite(QStringLiteral("2"));
    seed(QStringLiteral("favorites"), jsonArray({ toJson(a), toJson(b), toJson(a) }));
    auto prefs = open();
    ASSERT_EQ(prefs->favorites().size(), 3);
    EXPECT_FALSE(prefs->toggleFavorite(a));
    EXPECT_EQ(prefs->favorites(), QList<FavoriteEntry> { b });
}

TEST_F(PrefsTest, UnreadableFavoritesReadAsEmptyUntilTheNextToggleReplacesThem)
{
    QJsonObject broken = toJson(favorite(QStringLiteral("1")));
    broken.remove(QStringLiteral("categoryId"));
    seed(QStringLiteral("favorites"), jsonArray({ toJson(favorite(QStringLiteral("2"))), broken }));
    auto prefs = open();
    EXPECT_TRUE(prefs->favorites().isEmpty());
    EXPECT_TRUE(stored().bytes(QStringLiteral("favorites")).has_value()); // untouched at start

    EXPECT_TRUE(prefs->toggleFavorite(favorite(QStringLiteral("3"))));
    EXPECT_EQ(open()->favorites(), QList<FavoriteEntry> { favorite(QStringLiteral("3")) });
}

TEST_F(PrefsTest, ArchivedProgrammesAreNeverRecorded)
{
    auto prefs = open();
    QSignalSpy changed(prefs.get(), &Prefs::recentChanged);
    prefs->addRecent(playItem(1, true));
    EXPECT_TRUE(prefs->recent().isEmpty());
    EXPECT_EQ(changed.count(), 0);
    EXPECT_FALSE(QFile::exists(path()));
}

TEST_F(PrefsTest, RecentMovesRepeatsToTheFrontAndKeeps24)
{
    auto prefs = open();
    for (int n = 1; n <= 11; ++n)
        prefs->addRecent(playItem(n));
    ASSERT_EQ(prefs->recent().at(10), playItem(1));
    PlayItem renamed = playItem(1);
    renamed.title = QStringLiteral("Renamed");
    prefs->addRecent(renamed);
    EXPECT_EQ(prefs->recent().size(), 11);
    EXPECT_EQ(prefs->recent().first(), renamed);
    EXPECT_EQ(prefs->recent().at(1), playItem(11));

    for (int n = 12; n <= 25; ++n)
        prefs->addRecent(playItem(n));
    ASSERT_EQ(prefs->recent().size(), 24);
    EXPECT_EQ(prefs->recent().first(), playItem(25));
    EXPECT_EQ(prefs->recent().last(), playItem(3)); // item 2 was the oldest and is gone
    EXPECT_EQ(open()->recent(), prefs->recent());
}

TEST_F(PrefsTest, RemoveRecentDropsEveryMatchAndAlwaysWrites)
{
    seed(QStringLiteral("recent"),
        jsonArray({ toJson(playItem(1)), toJson(playItem(2)), toJson(playItem(1)) }));
    auto prefs = open();
    prefs->removeRecent(playItem(1).key);
    EXPECT_EQ(prefs->recent(), QList<PlayItem> { playItem(2) });
    EXPECT_EQ(open()->recent(), QList<PlayItem> { playItem(2) });

    seed(QStringLiteral("recent"), QByteArray("not json"));
    auto fresh = open();
    EXPECT_TRUE(fresh->recent().isEmpty());
    fresh->removeRecent(QStringLiteral("none"));
    EXPECT_EQ(stored().bytes(QStringLiteral("recent")), QByteArray("[]"));
}

TEST_F(PrefsTest, RecentChannelsKeep90AsAListOfTexts)
{
    auto prefs = open();
    for (int n = 0; n < 95; ++n)
        prefs->addRecentLive(QStringLiteral("7|LIVE|%1").arg(n));
    ASSERT_EQ(prefs->recentLive().size(), 90);
    EXPECT_EQ(prefs->recentLive().first(), QStringLiteral("7|LIVE|94"));
    EXPECT_EQ(prefs->recentLive().last(), QStringLiteral("7|LIVE|5"));

    prefs->addRecentLive(QStringLiteral("7|LIVE|5"));
    EXPECT_EQ(prefs->recentLive().size(), 90);
    EXPECT_EQ(prefs->recentLive().first(), QStringLiteral("7|LIVE|5"));
    EXPECT_EQ(prefs->recentLive().last(), QStringLiteral("7|LIVE|6"));
    EXPECT_EQ(stored().texts(QStringLiteral("recent_live")), prefs->recentLive());
}

struct ResumeCase {
    const char *name;
    double pos;
    double dur;
    bool kept;
};

class ResumeRule : public PrefsTest, public ::testing::WithParamInterface<ResumeCase> { };

TEST_P(ResumeRule, PositionIsKeptOnlyInsideTheResumableRange)
{
    const ResumeCase c = GetParam();
    auto prefs = open();
    prefs->saveResume(QStringLiteral("k"), 500, 3600); // an earlier point the new one replaces or clears
    prefs->saveResume(QStringLiteral("k"), c.pos, c.dur);
    const std::optional<Prefs::ResumePoint> expected
        = c.kept ? std::optional(Prefs::ResumePoint { c.pos, c.dur }) : std::nullopt;
    EXPECT_EQ(prefs->resumePoint(QStringLiteral("k")), expected);
    EXPECT_EQ(open()->resumePoint(QStringLiteral("k")), expected);
}

INSTANTIATE_TEST_SUITE_P(Bounds, ResumeRule,
    ::testing::Values(ResumeCase { "below20", 19.9, 3600, false }, ResumeCase { "exactly20", 20, 3600, true },
        ResumeCase { "exactly95Percent", 95, 100, true }, ResumeCase { "past95Percent", 95.5, 100, false },
        ResumeCase { "middle", 1234.5, 5400.25, true }),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(PrefsTest, ResumeWithoutDurationWritesNothing)
{
    auto prefs = open();
    prefs->saveResume(QStringLiteral("k"), 50, 0);
    prefs->saveResume(QStringLiteral("k"), 50, -10);
    EXPECT_FALSE(QFile::exists(path()));
    prefs->saveResume(QStringLiteral("other"), 5, 100); // removes nothing, still writes
    EXPECT_EQ(stored().bytes(QStringLiteral("resume")), QByteArray("{}"));
}

class ResumeNonFinite : public PrefsTest, public ::testing::WithParamInterface<std::pair<double, double>> { };

TEST_P(ResumeNonFinite, IsRejectedAndEarlierPointsStayReadable)
{
    const auto [pos, dur] = GetParam();
    auto prefs = open();
    prefs->saveResume(QStringLiteral("keep"), 60, 600);
    prefs->saveResume(QStringLiteral("bad"), 60, 600);
    const QByteArray before = *stored().bytes(QStringLiteral("resume"));

    prefs->saveResume(QStringLiteral("bad"), pos, dur);
    EXPECT_EQ(prefs->resumePoint(QStringLiteral("bad")), (Prefs::ResumePoint { 60, 600 }));
    EXPECT_EQ(stored().bytes(QStringLiteral("resume")), before);

    prefs->saveResume(QStringLiteral("later"), 120, 600);
    auto again = open();
    EXPECT_EQ(again->resumePoint(QStringLiteral("keep")), (Prefs::ResumePoint { 60, 600 }));
    EXPECT_EQ(again->resumePoint(QStringLiteral("later")), (Prefs::ResumePoint { 120, 600 }));
}

const double kNaN = std::nan("");
INSTANTIATE_TEST_SUITE_P(Values, ResumeNonFinite,
    ::testing::Values(std::pair { kNaN, 600.0 }, std::pair { 60.0, kNaN }, std::pair { HUGE_VAL, 600.0 },
        std::pair { -HUGE_VAL, 600.0 }, std::pair { 60.0, HUGE_VAL }));

TEST_F(PrefsTest, UnreadableResumeMapReadsAsEmpty)
{
    seed(QStringLiteral("resume"), QByteArray(R"({"a":{"pos":30,"dur":100},"b":{"pos":30}})"));
    EXPECT_FALSE(open()->resumePoint(QStringLiteral("a")));
}

TEST(DeviceCacheSuffix, HashesWithItsOwnStartValue)
{
    EXPECT_EQ(deviceCacheSuffix(QString()), QStringLiteral("14650fb0739d0383"));
    EXPECT_EQ(deviceCacheSuffix(QStringLiteral("abc")), QStringLiteral("e16801510db89efd"));
    EXPECT_EQ(deviceCacheKey(QStringLiteral("abc")), QStringLiteral("device_cache_e16801510db89efd"));
}

TEST_F(PrefsTest, DeviceRecordIsCachedPerPortal)
{
    DeviceResponse device;
    device.mac = QStringLiteral("02:00:00:00:00:01");
    device.device_key = QStringLiteral("K1");
    device.playlists = { Playlist { 5, QStringLiteral("Main"), QStringLiteral("xtream"), std::nullopt,
        QStringLiteral("http://127.0.0.1:8080"), QStringLiteral("u"), QStringLiteral("p"), std::nullopt } };
    device.support = Support { std::nullopt, QStringLiteral("help@example.org") };
    open()->saveDeviceCache(device, deviceCacheKey(kPortal));

    EXPECT_TRUE(stored().bytes(QStringLiteral("device_cache_e16801510db89efd")).has_value());
    EXPECT_EQ(open()->cachedDevice(), device);
    EXPECT_FALSE(open(QStringLiteral("https://other.example"))->cachedDevice());

    seed(deviceCacheKey(kPortal), QByteArray("[]"));
    EXPECT_FALSE(open()->cachedDevice());
}

TEST_F(PrefsTest, DeviceMacIsCreatedOnceAndKept)
{
    static const QRegularExpression shape(QStringLiteral("^([0-9A-F]{2}:){5}[0-9A-F]{2}$"));
    auto prefs = open();
    const QString mac = prefs->deviceMac();
    EXPECT_TRUE(shape.match(mac).hasMatch()) << mac.toStdString();
    EXPECT_EQ(prefs->deviceMac(), mac);
    EXPECT_EQ(open()->deviceMac(), mac);
    EXPECT_EQ(stored().text(QStringLiteral("mac")), mac);
}

TEST_F(PrefsTest, EveryNewMacIsUnicastAndLocallyAdministered)
{
    auto prefs = open();
    QSet<QString> seen;
    for (int i = 0; i < 64; ++i) {
        prefs->defaults().set(QStringLiteral("mac"), QString());
        const QString mac = prefs->deviceMac();
        const int first = mac.left(2).toInt(nullptr, 16);
        EXPECT_EQ(first & 0x01, 0) << mac.toStdString();
        EXPECT_EQ(first & 0x02, 0x02) << mac.toStdString();
        seen.insert(mac);
    }
    EXPECT_GT(seen.size(), 60);
}

TEST_F(PrefsTest, StoredMacOfAnyOtherFormIsReturnedUnchanged)
{
    seed(QStringLiteral("mac"), QStringLiteral("not-a-mac"));
    EXPECT_EQ(open()->deviceMac(), QStringLiteral("not-a-mac"));
}

} // namespace
