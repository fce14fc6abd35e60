#include "app/Defaults.h"

#include <QDir>
#include <QFile>
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
    return QDir(folder).entryList({ QStringLiteral("defaults.json.corrupt-*") }, QDir::Files | QDir::Dirs);
}

class DefaultsTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path() const { return dir.filePath(QStringLiteral("defaults.json")); }
};

struct TypedCase {
    const char *name;
    Defaults::Value value;
};

class DefaultsRoundTrip : public DefaultsTest, public ::testing::WithParamInterface<TypedCase> { };

TEST_P(DefaultsRoundTrip, ValueKeepsItsTypeAcrossARestart)
{
    const Defaults::Value value = GetParam().value;
    {
        Defaults store(path());
        EXPECT_TRUE(store.set(QStringLiteral("k"), value));
    }
    Defaults reopened(path());
    const std::optional<Defaults::Value> read = reopened.value(QStringLiteral("k"));
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->index(), value.index());
    EXPECT_TRUE(*read == value);
}

const QByteArray kBinary("\x00\xff\xfe\x01zz\x80", 7);

INSTANTIATE_TEST_SUITE_P(Types, DefaultsRoundTrip,
    ::testing::Values(TypedCase { "text", QStringLiteral("Zelfor — ünïcode ‏عربي") },
        TypedCase { "emptyText", QString() }, TypedCase { "intMax", std::numeric_limits<qint64>::max() },
        TypedCase { "intMin", std::numeric_limits<qint64>::min() },
        TypedCase { "intBeyondDoublePrecision", qint64(9007199254740993LL) },
        TypedCase { "doubleFraction", 0.1 }, TypedCase { "doubleWhole", 5.0 },
        TypedCase { "doubleTiny", 4.9e-324 }, TypedCase { "boolFalse", false },
        TypedCase { "bytesBinary", kBinary }, TypedCase { "bytesEmpty", QByteArray() },
        TypedCase { "texts", QStringList { QStringLiteral("a"), QString(), QStringLiteral("7|LIVE|1") } },
        TypedCase { "textsEmpty", QStringList() }),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(DefaultsTest, TypedReadsAnswerOnlyForTheStoredType)
{
    Defaults store(path());
    store.set(QStringLiteral("n"), qint64(5));
    store.set(QStringLiteral("t"), QStringLiteral("5"));
    EXPECT_EQ(store.integer(QStringLiteral("n")), 5);
    EXPECT_FALSE(store.text(QStringLiteral("n")));
    EXPECT_FALSE(store.number(QStringLiteral("n")));
    EXPECT_EQ(store.text(QStringLiteral("t")), QStringLiteral("5"));
    EXPECT_FALSE(store.integer(QStringLiteral("t")));
    EXPECT_FALSE(store.bytes(QStringLiteral("t")));
    EXPECT_FALSE(store.flag(QStringLiteral("missing")));
}

TEST_F(DefaultsTest, EachChangeIsOnDiskAtOnce)
{
    Defaults store(path());
    store.set(QStringLiteral("a"), QStringLiteral("one"));
    EXPECT_EQ(Defaults(path()).text(QStringLiteral("a")), QStringLiteral("one"));
    store.set(QStringLiteral("a"), true);
    EXPECT_EQ(Defaults(path()).flag(QStringLiteral("a")), true);
    EXPECT_TRUE(store.remove(QStringLiteral("a")));
    EXPECT_FALSE(Defaults(path()).contains(QStringLiteral("a")));
}

TEST_F(DefaultsTest, NonFiniteNumbersAreRefusedAndTheFileStaysReadable)
{
    Defaults store(path());
    store.set(QStringLiteral("ok"), 1.5);
    for (double bad : { std::nan(""), HUGE_VAL, -HUGE_VAL }) {
        EXPECT_FALSE(store.set(QStringLiteral("bad"), bad));
        EXPECT_FALSE(store.contains(QStringLiteral("bad")));
    }
    Defaults reopened(path());
    EXPECT_EQ(reopened.number(QStringLiteral("ok")), 1.5);
    EXPECT_TRUE(reopened.corruptBackupPath().isEmpty());
}

TEST_F(DefaultsTest, MissingFileStartsEmptyAndIsCreatedWithItsFolderOnFirstWrite)
{
    const QString nested = dir.filePath(QStringLiteral("config/Zelfor/defaults.json"));
    Defaults store(nested);
    EXPECT_FALSE(store.contains(QStringLiteral("x")));
    EXPECT_FALSE(QFile::exists(nested));
    EXPECT_TRUE(store.corruptBackupPath().isEmpty());
    EXPECT_TRUE(store.set(QStringLiteral("x"), qint64(1)));
    EXPECT_EQ(Defaults(nested).integer(QStringLiteral("x")), 1);
}

class DefaultsCorrupt : public DefaultsTest, public ::testing::WithParamInterface<const char *> { };

TEST_P(DefaultsCorrupt, FileIsKeptAsideAndTheStoreStartsEmpty)
{
    const QByteArray bad(GetParam());
    writeFile(path(), bad);

    Defaults store(path());
    EXPECT_FALSE(store.contains(QStringLiteral("a")));
    EXPECT_FALSE(QFile::exists(path()));
    ASSERT_EQ(backups(dir.path()).size(), 1);
    EXPECT_EQ(store.corruptBackupPath(), dir.filePath(backups(dir.path()).first()));
    EXPECT_EQ(readAll(store.corruptBackupPath()), bad);

    // Writing afterwards starts a fresh file and leaves the backup alone.
    EXPECT_TRUE(store.set(QStringLiteral("b"), QStringLiteral("new")));
    EXPECT_EQ(readAll(store.corruptBackupPath()), bad);
    Defaults reopened(path());
    EXPECT_EQ(reopened.text(QStringLiteral("b")), QStringLiteral("new"));
    EXPECT_TRUE(reopened.corruptBackupPath().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Shapes, DefaultsCorrupt,
    ::testing::Values("", "not json", "{\"a\": {\"type\": \"text\", \"value\": \"x\"}", "[1, 2]", "7"));

class DefaultsUnreadableEntry : public DefaultsTest, public ::testing::WithParamInterface<const char *> { };

TEST_P(DefaultsUnreadableEntry, ReadsAsMissingAndStaysUntilItsKeyIsWritten)
{
    const QJsonValue bad = QJsonDocument::fromJson(GetParam()).object().value(QStringLiteral("v"));
    ASSERT_FALSE(bad.isUndefined());
    QJsonObject file { { QStringLiteral("a"), bad },
        { QStringLiteral("mac"), QJsonObject { { "type", "text" }, { "value", "02:00:00:00:00:01" } } } };
    writeFile(path(), QJsonDocument(file).toJson());

    Defaults store(path());
    EXPECT_FALSE(store.contains(QStringLiteral("a")));
    EXPECT_FALSE(store.value(QStringLiteral("a")));
    EXPECT_EQ(store.text(QStringLiteral("mac")), QStringLiteral("02:00:00:00:00:01"));
    EXPECT_TRUE(store.corruptBackupPath().isEmpty());
    EXPECT_TRUE(backups(dir.path()).isEmpty());

    // Another key's write keeps the entry as it was found.
    EXPECT_TRUE(store.set(QStringLiteral("b"), qint64(1)));
    const QJsonObject written = QJsonDocument::fromJson(readAll(path())).object();
    EXPECT_EQ(written.value(QStringLiteral("a")), bad);
    EXPECT_EQ(Defaults(path()).text(QStringLiteral("mac")), QStringLiteral("02:00:00:00:00:01"));

    // Its own write replaces it.
    EXPECT_TRUE(store.set(QStringLiteral("a"), QStringLiteral("fresh")));
    EXPECT_EQ(Defaults(path()).text(QStringLiteral("a")), QStringLiteral("fresh"));
}

INSTANTIATE_TEST_SUITE_P(Shapes, DefaultsUnreadableEntry,
    ::testing::Values("{\"v\": 5}", "{\"v\": {\"type\": \"int\", \"value\": \"12x\"}}",
        "{\"v\": {\"type\": \"int\", \"value\": 12}}", "{\"v\": {\"type\": \"text\", \"value\": 3}}",
        "{\"v\": {\"type\": \"weird\", \"value\": 1}}", "{\"v\": {\"type\": \"bytes\", \"value\": \"***\"}}",
        "{\"v\": {\"type\": \"texts\", \"value\": [\"x\", 1]}}",
        "{\"v\": {\"type\": \"bool\", \"value\": \"true\"}}", "{\"v\": null}"));

TEST_F(DefaultsTest, RemovingAnUnreadableEntryDropsIt)
{
    writeFile(path(), R"({"a": {"type": "date", "value": 1}, "b": {"type": "bool", "value": true}})");
    Defaults store(path());
    EXPECT_TRUE(store.remove(QStringLiteral("a")));
    const QJsonObject written = QJsonDocument::fromJson(readAll(path())).object();
    EXPECT_EQ(written.keys(), QStringList { QStringLiteral("b") });
    EXPECT_EQ(Defaults(path()).flag(QStringLiteral("b")), true);
}

TEST_F(DefaultsTest, TwoCorruptStartsKeepTwoBackups)
{
    writeFile(path(), "first");
    Defaults first(path());
    writeFile(path(), "second");
    Defaults second(path());
    EXPECT_NE(first.corruptBackupPath(), second.corruptBackupPath());
    EXPECT_EQ(readAll(first.corruptBackupPath()), "first");
    EXPECT_EQ(readAll(second.corruptBackupPath()), "second");
}

TEST_F(DefaultsTest, WritesFromSeveralThreadsAreAllKept)
{
    Defaults store(path());
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&store, t] {
            for (int i = 0; i < 25; ++i)
                store.set(QStringLiteral("k%1_%2").arg(t).arg(i), qint64(t * 100 + i));
        });
    }
    for (std::thread &thread : threads)
        thread.join();
    Defaults reopened(path());
    for (int t = 0; t < 4; ++t) {
        for (int i = 0; i < 25; ++i)
            EXPECT_EQ(reopened.integer(QStringLiteral("k%1_%2").arg(t).arg(i)), t * 100 + i);
    }
}

} // namespace
