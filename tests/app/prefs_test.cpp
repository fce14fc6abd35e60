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

const QString kPortal = u"abc"_qs;

FavoriteEntry favorite(const QString &id, ContentType type = ContentType::movie, const QString &name = {})
{
    return { .playlistId = 7,
        .type = type,
        .id = id,
        .name = name.isEmpty() ? u"Name "_qs + id : name,
        .categoryId = u"3"_qs };
}

PlayItem playItem(int n, bool catchup = false)
{
    return { .key = itemKey(ContentType::movie, 7, QString::number(n)),
        .title = u"Movie %1"_qs.arg(n),
        .url = u"http://127.0.0.1/%1.mp4"_qs.arg(n),
        .catchup = catchup };
}

template <typename T> QByteArray jsonArray(const QList<T> &records)
{
    QJsonArray array;
    for (const T &record : records)
        array.append(toJson(record));
    return QJsonDocument(array).toJson();
}

class PrefsTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path() const { return dir.filePath(u"defaults.json"_qs); }
    std::unique_ptr<Prefs> open(const QString &portal = kPortal)
    {
        return std::make_unique<Prefs>(path(), portal);
    }
    // What is on disk now, read through a fresh store.
    Defaults stored() const { return Defaults(path()); }
    void seed(const QString &key, const Defaults::Value &value) { Defaults(path()).set(key, value); }
};

// The plain settings as texts: language, time format, aspect mode, user agent, playlist id.
QStringList settings(const Prefs &prefs)
{
    return { prefs.language(), prefs.timeFormat(), QString::number(int(prefs.aspectMode())),
        prefs.userAgent(), QString::number(prefs.selectedPlaylistId()) };
}

const QStringList kDefaultSettings { u"system"_qs, u"system"_qs, u"0"_qs, u"Zelfor/1.1.6 (X11; Linux)"_qs,
    u"-1"_qs };

TEST_F(PrefsTest, EmptyStoreGivesDefaultsAndWritesNothing)
{
    auto prefs = open();
    EXPECT_EQ(settings(*prefs), kDefaultSettings);
    EXPECT_TRUE(prefs->favorites().isEmpty());
    EXPECT_TRUE(prefs->recent().isEmpty());
    EXPECT_TRUE(prefs->recentLive().isEmpty());
    EXPECT_FALSE(prefs->cachedDevice());
    EXPECT_FALSE(QFile::exists(path()));
}

TEST_F(PrefsTest, SettingsAreAnnouncedStoredWithTheirTypesAndReadAfterRestart)
{
    auto prefs = open();
    QSignalSpy language(prefs.get(), &Prefs::languageChanged);
    QSignalSpy aspect(prefs.get(), &Prefs::aspectModeChanged);
    prefs->setLanguage(u"fr"_qs);
    prefs->setTimeFormat(u"24"_qs);
    prefs->setAspectMode(PictureMode::zoom);
    prefs->setUserAgent(QString()); // an empty agent is a choice, not a default
    prefs->setSelectedPlaylistId(42);
    EXPECT_EQ(language.count(), 1);
    EXPECT_EQ(aspect.count(), 1);
    const Defaults store = stored();
    EXPECT_EQ(store.text(u"language"_qs), u"fr"_qs);
    EXPECT_EQ(store.text(u"time_format"_qs), u"24"_qs);
    EXPECT_EQ(store.integer(u"aspect_mode"_qs), 2);
    EXPECT_EQ(store.integer(u"playlist_id"_qs), 42);
    EXPECT_EQ(settings(*open()), (QStringList { u"fr"_qs, u"24"_qs, u"2"_qs, QString(), u"42"_qs }));
}

TEST_F(PrefsTest, ValuesOfTheWrongTypeReadAsDefaults)
{
    seed(u"language"_qs, qint64(3));
    seed(u"time_format"_qs, true);
    seed(u"aspect_mode"_qs, u"2"_qs);
    seed(u"user_agent"_qs, 1.5);
    seed(u"recent_live"_qs, u"7|LIVE|1"_qs);
    EXPECT_EQ(settings(*open()), kDefaultSettings);
    EXPECT_TRUE(open()->recentLive().isEmpty());
}

TEST_F(PrefsTest, StoredPictureModesOutsideTheThreeReadAsStretch)
{
    const std::pair<qint64, PictureMode> rows[] = { { 0, PictureMode::stretch }, { 1, PictureMode::fit },
        { 2, PictureMode::zoom }, { 3, PictureMode::stretch }, { -1, PictureMode::stretch } };
    for (const auto &[value, mode] : rows) {
        seed(u"aspect_mode"_qs, value);
        EXPECT_EQ(open()->aspectMode(), mode) << value;
        EXPECT_EQ(stored().integer(u"aspect_mode"_qs), value) << "reading leaves the stored value";
    }
}

// A user agent that would break the request headers is neither stored nor read back.
TEST_F(PrefsTest, UserAgentsWithControlCharactersAreRefused)
{
    const std::pair<QString, QString> rows[] = { { u"Box/1"_qs, u"Box/1"_qs },
        { u"Box\r\nX-Evil: 1"_qs, kDefaultSettings[3] }, { u"Box\u200e1"_qs, kDefaultSettings[3] },
        { u"Box\t1"_qs, kDefaultSettings[3] }, { u"Box\u0085"_qs, kDefaultSettings[3] } };
    for (const auto &[stored, read] : rows) {
        seed(u"user_agent"_qs, stored);
        EXPECT_EQ(open()->userAgent(), read) << qPrintable(stored);
    }
    seed(u"user_agent"_qs, u"Box/1"_qs);
    auto prefs = open();
    QSignalSpy changed(prefs.get(), &Prefs::userAgentChanged);
    prefs->setUserAgent(u"Box\nX"_qs);
    EXPECT_EQ(prefs->userAgent(), u"Box/1"_qs);
    EXPECT_EQ(stored().text(u"user_agent"_qs), u"Box/1"_qs);
    EXPECT_TRUE(changed.isEmpty());
}

TEST_F(PrefsTest, AnyStoredNumberIsAPlaylistIdAnythingElseIsNone)
{
    const std::pair<Defaults::Value, qint64> rows[] = { { qint64(5), 5 },
        { qint64(9007199254740993LL), 9007199254740993LL }, { 12.0, 12 }, { 7.9, 7 }, { -3.0, -3 },
        { 1e300, -1 }, { u"5"_qs, -1 }, { true, -1 } };
    for (const auto &[value, expected] : rows) {
        seed(u"playlist_id"_qs, value);
        EXPECT_EQ(open()->selectedPlaylistId(), expected) << "stored as type " << value.index();
    }
}

TEST_F(PrefsTest, ToggleAddsThenRemovesAndIsKeptAcrossRestart)
{
    auto prefs = open();
    QSignalSpy changed(prefs.get(), &Prefs::favoritesChanged);
    FavoriteEntry withCatchup = favorite(u"9"_qs, ContentType::live);
    withCatchup.catchup = Catchup { 3, u"xc"_qs, std::nullopt };
    EXPECT_TRUE(prefs->toggleFavorite(favorite(u"1"_qs)));
    EXPECT_TRUE(prefs->toggleFavorite(withCatchup));
    EXPECT_TRUE(prefs->isFavorite(u"7|MOVIE|1"_qs));
    EXPECT_FALSE(prefs->isFavorite(u"7|SERIES|1"_qs));
    EXPECT_EQ(changed.count(), 2);
    EXPECT_EQ(favoriteKeys(prefs->favorites()), (QSet<QString> { u"7|MOVIE|1"_qs, u"7|LIVE|9"_qs }));

    auto again = open();
    EXPECT_EQ(again->favorites(), (QList<FavoriteEntry> { favorite(u"1"_qs), withCatchup }));
    EXPECT_FALSE(again->toggleFavorite(favorite(u"1"_qs, ContentType::movie, u"Other"_qs)));
    EXPECT_EQ(again->favorites(), QList<FavoriteEntry> { withCatchup });
    EXPECT_EQ(open()->favorites(), QList<FavoriteEntry> { withCatchup });
}

TEST_F(PrefsTest, OneToggleRemovesEveryStoredDuplicate)
{
    const FavoriteEntry a = favorite(u"1"_qs);
    const FavoriteEntry b = favorite(u"2"_qs);
    seed(u"favorites"_qs, jsonArray<FavoriteEntry>({ a, b, a }));
    auto prefs = open();
    ASSERT_EQ(prefs->favorites().size(), 3);
    EXPECT_FALSE(prefs->toggleFavorite(a));
    EXPECT_EQ(prefs->favorites(), QList<FavoriteEntry> { b });
}

TEST_F(PrefsTest, UnreadableFavoritesReadAsEmptyUntilTheNextToggleReplacesThem)
{
    QJsonObject broken = toJson(favorite(u"1"_qs));
    broken.remove(u"categoryId"_qs);
    seed(u"favorites"_qs, QJsonDocument(QJsonArray { toJson(favorite(u"2"_qs)), broken }).toJson());
    auto prefs = open();
    EXPECT_TRUE(prefs->favorites().isEmpty());
    EXPECT_TRUE(stored().bytes(u"favorites"_qs).has_value()) << "untouched at start";

    EXPECT_TRUE(prefs->toggleFavorite(favorite(u"3"_qs)));
    EXPECT_EQ(open()->favorites(), QList<FavoriteEntry> { favorite(u"3"_qs) });
}

TEST_F(PrefsTest, RecentSkipsArchivesMovesRepeatsToTheFrontAndKeeps24)
{
    auto prefs = open();
    QSignalSpy changed(prefs.get(), &Prefs::recentChanged);
    prefs->addRecent(playItem(1, true));
    EXPECT_TRUE(prefs->recent().isEmpty()) << "an archived programme is never recorded";
    EXPECT_EQ(changed.count(), 0);
    EXPECT_FALSE(QFile::exists(path()));

    for (int n = 1; n <= 11; ++n)
        prefs->addRecent(playItem(n));
    ASSERT_EQ(prefs->recent().at(10), playItem(1));
    PlayItem renamed = playItem(1);
    renamed.title = u"Renamed"_qs;
    prefs->addRecent(renamed);
    EXPECT_EQ(prefs->recent().size(), 11);
    EXPECT_EQ(prefs->recent().first(), renamed);
    EXPECT_EQ(prefs->recent().at(1), playItem(11));

    for (int n = 12; n <= 25; ++n)
        prefs->addRecent(playItem(n));
    ASSERT_EQ(prefs->recent().size(), 24);
    EXPECT_EQ(prefs->recent().first(), playItem(25));
    EXPECT_EQ(prefs->recent().last(), playItem(3)) << "item 2 was the oldest and is gone";
    EXPECT_EQ(open()->recent(), prefs->recent());
}

TEST_F(PrefsTest, RemoveRecentDropsEveryMatchAndAlwaysWrites)
{
    seed(u"recent"_qs, jsonArray<PlayItem>({ playItem(1), playItem(2), playItem(1) }));
    auto prefs = open();
    prefs->removeRecent(playItem(1).key);
    EXPECT_EQ(prefs->recent(), QList<PlayItem> { playItem(2) });
    EXPECT_EQ(open()->recent(), QList<PlayItem> { playItem(2) });

    seed(u"recent"_qs, QByteArray("not json"));
    auto fresh = open();
    EXPECT_TRUE(fresh->recent().isEmpty());
    fresh->removeRecent(u"none"_qs);
    EXPECT_EQ(stored().bytes(u"recent"_qs), QByteArray("[]"));
}

TEST_F(PrefsTest, RecentChannelsKeep90AsAListOfTexts)
{
    auto prefs = open();
    for (int n = 0; n < 95; ++n)
        prefs->addRecentLive(u"7|LIVE|%1"_qs.arg(n));
    ASSERT_EQ(prefs->recentLive().size(), 90);
    EXPECT_EQ(prefs->recentLive().first(), u"7|LIVE|94"_qs);
    EXPECT_EQ(prefs->recentLive().last(), u"7|LIVE|5"_qs);

    prefs->addRecentLive(u"7|LIVE|5"_qs);
    EXPECT_EQ(prefs->recentLive().size(), 90);
    EXPECT_EQ(prefs->recentLive().first(), u"7|LIVE|5"_qs);
    EXPECT_EQ(prefs->recentLive().last(), u"7|LIVE|6"_qs);
    EXPECT_EQ(stored().texts(u"recent_live"_qs), prefs->recentLive());
}

TEST_F(PrefsTest, ResumeIsKeptOnlyInsideTheResumableRange)
{
    const std::tuple<double, double, bool> rows[] = { { 19.9, 3600, false }, { 20, 3600, true },
        { 95, 100, true }, { 95.5, 100, false }, { 1234.5, 5400.25, true } };
    auto prefs = open();
    for (const auto &[pos, dur, kept] : rows) {
        SCOPED_TRACE(testing::Message() << pos << " of " << dur);
        prefs->saveResume(u"k"_qs, 500, 3600); // an earlier point the new one replaces or clears
        prefs->saveResume(u"k"_qs, pos, dur);
        const auto expected = kept ? std::optional(Prefs::ResumePoint { pos, dur }) : std::nullopt;
        EXPECT_EQ(prefs->resumePoint(u"k"_qs), expected);
        EXPECT_EQ(open()->resumePoint(u"k"_qs), expected);
    }
}

// Screens below the player learn of the point it saves as it stops.
TEST_F(PrefsTest, SavedOrClearedResumePointsAreAnnounced)
{
    auto prefs = open();
    QSignalSpy changes(prefs.get(), &Prefs::resumeChanged);
    prefs->saveResume(u"k"_qs, 50, 0);
    EXPECT_EQ(changes.size(), 0) << "nothing stored, nothing to say";
    prefs->saveResume(u"k"_qs, 125, 3600);
    prefs->saveResume(u"k"_qs, 3590, 3600);
    EXPECT_EQ(changes.size(), 2);
    EXPECT_FALSE(prefs->resumePoint(u"k"_qs));
}

TEST_F(PrefsTest, ResumeWithoutDurationWritesNothing)
{
    auto prefs = open();
    prefs->saveResume(u"k"_qs, 50, 0);
    prefs->saveResume(u"k"_qs, 50, -10);
    EXPECT_FALSE(QFile::exists(path()));
    prefs->saveResume(u"other"_qs, 5, 100); // removes nothing, still writes
    EXPECT_EQ(stored().bytes(u"resume"_qs), QByteArray("{}"));
}

TEST_F(PrefsTest, NonFiniteResumeIsRejectedAndEarlierPointsStayReadable)
{
    const double nan = std::nan("");
    const std::pair<double, double> rows[]
        = { { nan, 600 }, { 60, nan }, { HUGE_VAL, 600 }, { -HUGE_VAL, 600 }, { 60, HUGE_VAL } };
    auto prefs = open();
    prefs->saveResume(u"keep"_qs, 60, 600);
    prefs->saveResume(u"bad"_qs, 60, 600);
    const QByteArray before = *stored().bytes(u"resume"_qs);
    for (const auto &[pos, dur] : rows) {
        SCOPED_TRACE(testing::Message() << pos << " of " << dur);
        prefs->saveResume(u"bad"_qs, pos, dur);
        EXPECT_EQ(prefs->resumePoint(u"bad"_qs), (Prefs::ResumePoint { 60, 600 }));
        EXPECT_EQ(stored().bytes(u"resume"_qs), before);
    }
    prefs->saveResume(u"later"_qs, 120, 600);
    auto again = open();
    EXPECT_EQ(again->resumePoint(u"keep"_qs), (Prefs::ResumePoint { 60, 600 }));
    EXPECT_EQ(again->resumePoint(u"later"_qs), (Prefs::ResumePoint { 120, 600 }));
}

TEST_F(PrefsTest, UnreadableResumeMapReadsAsEmpty)
{
    seed(u"resume"_qs, QByteArray(R"({"a":{"pos":30,"dur":100},"b":{"pos":30}})"));
    EXPECT_FALSE(open()->resumePoint(u"a"_qs));
}

TEST(DeviceCacheSuffix, HashesWithItsOwnStartValue)
{
    EXPECT_EQ(deviceCacheSuffix(QString()), u"14650fb0739d0383"_qs);
    EXPECT_EQ(deviceCacheSuffix(u"abc"_qs), u"e16801510db89efd"_qs);
    EXPECT_EQ(deviceCacheKey(u"abc"_qs), u"device_cache_e16801510db89efd"_qs);
}

TEST_F(PrefsTest, DeviceRecordIsCachedPerPortal)
{
    const DeviceResponse device { .mac = u"02:00:00:00:00:01"_qs,
        .device_key = u"K1"_qs,
        .playlists = { { 5, u"Main"_qs, u"xtream"_qs, std::nullopt, u"http://127.0.0.1:8080"_qs, u"u"_qs,
            u"p"_qs, std::nullopt } },
        .support = Support { std::nullopt, u"help@example.org"_qs } };
    open()->saveDeviceCache(device, deviceCacheKey(kPortal));

    EXPECT_TRUE(stored().bytes(u"device_cache_e16801510db89efd"_qs).has_value());
    EXPECT_EQ(open()->cachedDevice(), device);
    EXPECT_FALSE(open(u"https://other.example"_qs)->cachedDevice());

    seed(deviceCacheKey(kPortal), QByteArray("[]"));
    EXPECT_FALSE(open()->cachedDevice());
}

TEST_F(PrefsTest, DeviceMacIsCreatedOnceAndKeptInAnyStoredForm)
{
    static const QRegularExpression shape(u"^([0-9A-F]{2}:){5}[0-9A-F]{2}$"_qs);
    auto prefs = open();
    const QString mac = prefs->deviceMac();
    EXPECT_TRUE(shape.match(mac).hasMatch()) << mac.toStdString();
    EXPECT_EQ(prefs->deviceMac(), mac);
    EXPECT_EQ(open()->deviceMac(), mac);
    EXPECT_EQ(stored().text(u"mac"_qs), mac);

    seed(u"mac"_qs, u"not-a-mac"_qs);
    EXPECT_EQ(open()->deviceMac(), u"not-a-mac"_qs);
}

// A settings file cut short or overwritten in part must not make this a new device to the
// portal: the address is read back from what is left, and kept on disk.
TEST_F(PrefsTest, DeviceMacOutlivesACorruptSettingsFile)
{
    const QString mac = open()->deviceMac();
    seed(u"language"_qs, u"fr"_qs);
    QFile file(path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray whole = file.readAll();
    file.close();
    const qsizetype macAt = whole.indexOf("\"mac\"");
    const QByteArray damaged[] = { whole.first(whole.indexOf('}', macAt) + 1),
        QByteArray("\x00\xfe[[", 4) + whole.sliced(macAt - 2) };
    for (const QByteArray &bytes : damaged) {
        SCOPED_TRACE(bytes.toStdString());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        file.close();
        EXPECT_EQ(open()->deviceMac(), mac);
        EXPECT_EQ(open()->deviceMac(), mac) << "and on the start after";
    }
}

TEST_F(PrefsTest, EveryNewMacIsUnicastAndLocallyAdministered)
{
    auto prefs = open();
    QSet<QString> seen;
    for (int i = 0; i < 64; ++i) {
        prefs->defaults().set(u"mac"_qs, QString());
        const QString mac = prefs->deviceMac();
        const int first = mac.left(2).toInt(nullptr, 16);
        EXPECT_EQ(first & 0x03, 0x02) << mac.toStdString();
        seen.insert(mac);
    }
    EXPECT_GT(seen.size(), 60);
}

} // namespace
