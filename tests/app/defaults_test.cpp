#include "app/Defaults.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <thread>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QStringList backups(const QString &folder)
{
    return QDir(folder).entryList({ u"defaults.json.corrupt-*"_qs }, QDir::Files | QDir::Dirs);
}

class DefaultsTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path() const { return dir.filePath(u"defaults.json"_qs); }
};

TEST_F(DefaultsTest, ValuesKeepTheirTypesAcrossARestart)
{
    const QList<Defaults::Value> values { u"Zelfor — ünïcode ‏عربي"_qs, QString(),
        std::numeric_limits<qint64>::max(), std::numeric_limits<qint64>::min(), qint64(9007199254740993LL),
        0.1, 5.0, 4.9e-324, false, QByteArray("\x00\xff\xfe\x01zz\x80", 7), QByteArray(),
        QStringList { u"a"_qs, QString(), u"7|LIVE|1"_qs }, QStringList() };
    {
        Defaults store(path());
        for (int i = 0; i < values.size(); ++i)
            EXPECT_TRUE(store.set(u"k%1"_qs.arg(i), values[i]));
    }
    Defaults reopened(path());
    for (int i = 0; i < values.size(); ++i) {
        const std::optional<Defaults::Value> read = reopened.value(u"k%1"_qs.arg(i));
        ASSERT_TRUE(read.has_value()) << i;
        EXPECT_EQ(read->index(), values[i].index()) << i;
        EXPECT_TRUE(*read == values[i]) << i;
    }
}

TEST_F(DefaultsTest, TypedReadsAnswerOnlyForTheStoredTypeAndEachChangeIsOnDiskAtOnce)
{
    Defaults store(path());
    store.set(u"n"_qs, qint64(5));
    store.set(u"t"_qs, u"5"_qs);
    EXPECT_EQ(store.integer(u"n"_qs), 5);
    EXPECT_FALSE(store.text(u"n"_qs));
    EXPECT_FALSE(store.number(u"n"_qs));
    EXPECT_EQ(store.text(u"t"_qs), u"5"_qs);
    EXPECT_FALSE(store.integer(u"t"_qs));
    EXPECT_FALSE(store.bytes(u"t"_qs));
    EXPECT_FALSE(store.flag(u"missing"_qs));

    EXPECT_EQ(Defaults(path()).text(u"t"_qs), u"5"_qs);
    store.set(u"t"_qs, true);
    EXPECT_EQ(Defaults(path()).flag(u"t"_qs), true);
    EXPECT_TRUE(store.remove(u"t"_qs));
    EXPECT_FALSE(Defaults(path()).contains(u"t"_qs));
}

TEST_F(DefaultsTest, NonFiniteNumbersAreRefusedAndTheFileStaysReadable)
{
    Defaults store(path());
    store.set(u"ok"_qs, 1.5);
    for (double bad : { std::nan(""), HUGE_VAL, -HUGE_VAL }) {
        EXPECT_FALSE(store.set(u"bad"_qs, bad));
        EXPECT_FALSE(store.contains(u"bad"_qs));
    }
    Defaults reopened(path());
    EXPECT_EQ(reopened.number(u"ok"_qs), 1.5);
    EXPECT_TRUE(reopened.corruptBackupPath().isEmpty());
}

TEST_F(DefaultsTest, MissingFileStartsEmptyAndIsCreatedWithItsFolderOnFirstWrite)
{
    const QString nested = dir.filePath(u"config/Zelfor/defaults.json"_qs);
    Defaults store(nested);
    EXPECT_FALSE(store.contains(u"x"_qs));
    EXPECT_FALSE(QFile::exists(nested));
    EXPECT_TRUE(store.corruptBackupPath().isEmpty());
    EXPECT_TRUE(store.set(u"x"_qs, qint64(1)));
    EXPECT_EQ(Defaults(nested).integer(u"x"_qs), 1);
}

TEST_F(DefaultsTest, FolderAndFileArePrivateNewOrFound)
{
    const QString folder = dir.filePath(u"Zelfor"_qs);
    const QString file = folder + u"/defaults.json"_qs;
    const auto permissions = [](const QString &path) { return QFile::permissions(path) & 0x7777; };
    constexpr auto kUser = QFile::ReadUser | QFile::WriteUser | QFile::ExeUser;
    EXPECT_TRUE(Defaults(file).set(u"mac"_qs, u"00:1a:79:00:00:01"_qs));
    EXPECT_EQ(permissions(folder), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | kUser);
    EXPECT_EQ(permissions(file), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);

    // Made by an older build: readable by everyone until the next start.
    ASSERT_TRUE(QFile::setPermissions(folder, QFile::Permissions(0x7755)));
    ASSERT_TRUE(QFile::setPermissions(file, QFile::Permissions(0x6644)));
    EXPECT_EQ(Defaults(file).text(u"mac"_qs), u"00:1a:79:00:00:01"_qs);
    EXPECT_EQ(permissions(folder), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | kUser);
    EXPECT_EQ(permissions(file), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
}

TEST_F(DefaultsTest, TemporariesOfAKilledSaveAreRemovedAtStart)
{
    writeFile(path(), R"({"a": {"type": "text", "value": "kept"}})");
    const QStringList stale = { u"defaults.json.Ab12Cd"_qs, u"defaults.json.xYz789"_qs };
    const QStringList others = { u"defaults.json.corrupt-20260101-000000-000"_qs, u"defaults.json.bak"_qs,
        u"defaults.json.Ab12Cd7"_qs, u"other.json.Ab12Cd"_qs };
    for (const QString &name : stale + others)
        writeFile(dir.filePath(name), "{");
    EXPECT_EQ(Defaults(path()).text(u"a"_qs), u"kept"_qs);
    for (const QString &name : stale)
        EXPECT_FALSE(QFile::exists(dir.filePath(name))) << name.toStdString();
    for (const QString &name : others)
        EXPECT_TRUE(QFile::exists(dir.filePath(name))) << name.toStdString();
}

TEST_F(DefaultsTest, EveryCorruptFileIsKeptAsideAndTheStoreStartsEmpty)
{
    // None of them holds a whole entry to salvage.
    const QByteArray shapes[] = { "", "not json", R"({"a": {"type": "text", "value": "x")", "[1, 2]", "7" };
    QStringList kept;
    for (const QByteArray &bad : shapes) {
        SCOPED_TRACE(bad.constData());
        writeFile(path(), bad);
        Defaults store(path());
        EXPECT_FALSE(store.contains(u"a"_qs));
        EXPECT_FALSE(QFile::exists(path()));
        kept.append(store.corruptBackupPath());
        EXPECT_EQ(backups(dir.path()).size(), kept.size()) << "one more backup each time";
        EXPECT_EQ(readAll(kept.last()), bad);

        // Writing afterwards starts a fresh file and leaves the backup alone.
        EXPECT_TRUE(store.set(u"b"_qs, u"new"_qs));
        Defaults reopened(path());
        EXPECT_EQ(reopened.text(u"b"_qs), u"new"_qs);
        EXPECT_TRUE(reopened.corruptBackupPath().isEmpty());
    }
    for (int i = 0; i < kept.size(); ++i)
        EXPECT_EQ(readAll(kept[i]), shapes[i]) << i;
}

// A file cut short or partly overwritten is set aside as it was; every whole entry still in
// it is kept, with its type, and written to a fresh file at once, so the device keeps the
// address the portal knows it by.
TEST_F(DefaultsTest, ACorruptFileGivesUpTheWholeEntriesStillInIt)
{
    const QString mac = u"02:1A:79:12:34:56"_qs;
    {
        Defaults original(path());
        original.set(u"favorites"_qs, QByteArray(R"([{"id":"7","name":"{\"}"}])"));
        original.set(u"language"_qs, u"ar"_qs);
        original.set(u"mac"_qs, mac);
        original.set(u"playlist_id"_qs, qint64(1) << 40);
        original.set(u"recent_live"_qs, QStringList { u"a\"b"_qs, u"}{"_qs });
    }
    const QByteArray whole = readAll(path());
    const qsizetype macEnd = whole.indexOf('}', whole.indexOf("\"mac\"")) + 1;
    const QByteArray garbage("\xff\x00{]\\\"x", 7);
    const struct {
        const char *name;
        QByteArray bytes;
        QStringList kept;
    } rows[] = {
        { "cut after the address", whole.first(macEnd), { "favorites", "language", "mac" } },
        { "cut inside the address", whole.first(macEnd - 4), { "favorites", "language" } },
        { "first half overwritten", garbage + whole.sliced(whole.indexOf("\"language\"")),
            { "language", "mac", "playlist_id", "recent_live" } },
        { "bytes in the middle", whole.first(macEnd) + garbage + whole.sliced(macEnd),
            { "favorites", "language", "mac", "playlist_id", "recent_live" } },
        { "no object around", whole.sliced(whole.indexOf("\"mac\""), macEnd - whole.indexOf("\"mac\"")),
            { "mac" } },
    };
    const QStringList keys { u"favorites"_qs, u"language"_qs, u"mac"_qs, u"playlist_id"_qs,
        u"recent_live"_qs };
    const Defaults reference(path());
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        writeFile(path(), row.bytes);
        Defaults store(path());
        EXPECT_EQ(readAll(store.corruptBackupPath()), row.bytes) << "the bad file is kept aside as it was";
        QStringList kept;
        for (const QString &key : keys) {
            if (store.contains(key)) {
                kept.append(key);
                EXPECT_EQ(store.value(key), reference.value(key)) << qPrintable(key);
            }
        }
        EXPECT_EQ(kept, row.kept);
        Defaults reopened(path());
        EXPECT_TRUE(reopened.corruptBackupPath().isEmpty()) << "what was kept is on disk in a sound file";
        for (const QString &key : row.kept)
            EXPECT_EQ(reopened.value(key), reference.value(key)) << qPrintable(key);
    }
}

// Whatever the cut, nothing is read wrong: an entry is kept whole or not at all.
TEST_F(DefaultsTest, EveryCutOfAFileKeepsOnlyWholeEntries)
{
    {
        Defaults original(path());
        original.set(u"mac"_qs, u"02:00:00:00:00:09"_qs);
        original.set(u"n"_qs, qint64(-12345));
        original.set(u"x"_qs, 2.5);
        original.set(u"t"_qs, QStringList { u"{"_qs, u"\\"_qs });
    }
    const QByteArray whole = readAll(path());
    const qsizetype macEnd = whole.indexOf('}', whole.indexOf("\"mac\"")) + 1;
    const Defaults reference(path());
    for (qsizetype size = 0; size < whole.size() - 1; ++size) {
        writeFile(path(), whole.first(size));
        const Defaults store(path());
        for (const QString &key : { u"mac"_qs, u"n"_qs, u"t"_qs, u"x"_qs }) {
            if (store.contains(key))
                EXPECT_EQ(store.value(key), reference.value(key)) << size;
        }
        EXPECT_EQ(store.contains(u"mac"_qs), size >= macEnd) << size;
        QFile::remove(store.corruptBackupPath());
    }
}

TEST_F(DefaultsTest, UnreadableEntryReadsAsMissingAndStaysUntilItsKeyIsWritten)
{
    const char *entries[] = { "5", R"({"type": "int", "value": "12x"})", R"({"type": "int", "value": 12})",
        R"({"type": "text", "value": 3})", R"({"type": "weird", "value": 1})",
        R"({"type": "bytes", "value": "***"})", R"({"type": "texts", "value": ["x", 1]})",
        R"({"type": "bool", "value": "true"})", "null" };
    const QString mac = u"02:00:00:00:00:01"_qs;
    for (const char *entry : entries) {
        SCOPED_TRACE(entry);
        const QJsonValue bad = QJsonDocument::fromJson(QByteArray("[") + entry + "]").array().first();
        const QJsonObject file { { u"a"_qs, bad },
            { u"mac"_qs, QJsonObject { { "type", "text" }, { "value", mac } } } };
        writeFile(path(), QJsonDocument(file).toJson());

        Defaults store(path());
        EXPECT_FALSE(store.contains(u"a"_qs));
        EXPECT_FALSE(store.value(u"a"_qs));
        EXPECT_EQ(store.text(u"mac"_qs), mac);
        EXPECT_TRUE(store.corruptBackupPath().isEmpty());
        EXPECT_TRUE(backups(dir.path()).isEmpty());

        // Another key's write keeps the entry as it was found; its own write replaces it.
        EXPECT_TRUE(store.set(u"b"_qs, qint64(1)));
        EXPECT_EQ(QJsonDocument::fromJson(readAll(path())).object().value(u"a"_qs), bad);
        EXPECT_EQ(Defaults(path()).text(u"mac"_qs), mac);
        EXPECT_TRUE(store.set(u"a"_qs, u"fresh"_qs));
        EXPECT_EQ(Defaults(path()).text(u"a"_qs), u"fresh"_qs);
    }
}

TEST_F(DefaultsTest, RemovingAnUnreadableEntryDropsIt)
{
    writeFile(path(), R"({"a": {"type": "date", "value": 1}, "b": {"type": "bool", "value": true}})");
    Defaults store(path());
    EXPECT_TRUE(store.remove(u"a"_qs));
    const QJsonObject written = QJsonDocument::fromJson(readAll(path())).object();
    EXPECT_EQ(written.keys(), QStringList { u"b"_qs });
    EXPECT_EQ(Defaults(path()).flag(u"b"_qs), true);
}

TEST_F(DefaultsTest, WritesFromSeveralThreadsAreAllKept)
{
    Defaults store(path());
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&store, t] {
            for (int i = 0; i < 25; ++i)
                store.set(u"k%1_%2"_qs.arg(t).arg(i), qint64(t * 100 + i));
        });
    }
    for (std::thread &thread : threads)
        thread.join();
    Defaults reopened(path());
    for (int t = 0; t < 4; ++t) {
        for (int i = 0; i < 25; ++i)
            EXPECT_EQ(reopened.integer(u"k%1_%2"_qs.arg(t).arg(i)), t * 100 + i);
    }
}

} // namespace
