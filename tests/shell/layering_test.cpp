#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

// Each source folder's level: a folder may include and import only from its own level and
// below, and never from another folder of its level.
const QHash<QString, int> kLevels {
    { QStringLiteral("model"), 0 },
    { QStringLiteral("sources"), 1 },
    { QStringLiteral("app"), 2 },
    { QStringLiteral("kit"), 3 },
    { QStringLiteral("playback"), 4 },
    { QStringLiteral("live"), 5 },
    { QStringLiteral("vod"), 5 },
    { QStringLiteral("home"), 5 },
    { QStringLiteral("shell"), 6 },
};

// The folders a file's includes ("folder/...") and QML imports (Zelfor.Folder) name.
QStringList namedFolders(const QString &text)
{
    static const QRegularExpression include(
        QStringLiteral(R"(^#include "([a-z]+)/)"), QRegularExpression::MultilineOption);
    static const QRegularExpression import(
        QStringLiteral(R"(^import Zelfor\.(\w+))"), QRegularExpression::MultilineOption);
    QStringList folders;
    for (const QRegularExpression *pattern : { &include, &import }) {
        for (auto match = pattern->globalMatch(text); match.hasNext();)
            folders.append(match.next().captured(1).toLower());
    }
    return folders;
}

// "file -> folder" for every reference of `folder`'s files that points up or sideways.
QStringList wrongReferences(const QString &folder)
{
    QStringList wrong;
    const QDir dir(QStringLiteral(ZELFOR_SOURCE_DIR "/src/") + folder);
    QDirIterator files(dir.path(), { "*.h", "*.cpp", "*.qml" }, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QFile file(files.next());
        const QString name = dir.relativeFilePath(file.fileName());
        if (!file.open(QIODevice::ReadOnly))
            return { name + QStringLiteral(" unreadable") };
        for (const QString &named : namedFolders(QString::fromUtf8(file.readAll()))) {
            const bool known = kLevels.contains(named);
            if (named != folder && (!known || kLevels[named] >= kLevels[folder]))
                wrong.append(folder + QLatin1Char('/') + name + QStringLiteral(" -> ") + named);
        }
    }
    return wrong;
}

TEST(Layering, IncludesAndImportsPointDownOnly)
{
    for (auto level = kLevels.begin(); level != kLevels.end(); ++level) {
        ASSERT_TRUE(QDir(QStringLiteral(ZELFOR_SOURCE_DIR "/src/") + level.key()).exists())
            << qPrintable(level.key());
        EXPECT_EQ(wrongReferences(level.key()), QStringList()) << qPrintable(level.key());
    }
    const QStringList folders
        = QDir(QStringLiteral(ZELFOR_SOURCE_DIR "/src")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &folder : folders)
        EXPECT_TRUE(kLevels.contains(folder)) << "a folder without a level: " << qPrintable(folder);
}

TEST(Layering, TheCheckSeesUpwardAndSidewaysReferences)
{
    EXPECT_EQ(namedFolders(QStringLiteral("#include \"kit/Theme.h\"\nimport QtQuick\nimport Zelfor.Live\n")),
        QStringList({ "kit", "live" }));
    EXPECT_EQ(namedFolders(QStringLiteral("#include <QString>\n// #include \"shell/X.h\"\n")), QStringList());
}

} // namespace
