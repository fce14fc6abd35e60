#include "app/Localization.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

namespace {

using Keys = QSet<QString>;

const QString kSourceDir = QStringLiteral(ZELFOR_SOURCE_DIR "/src/");

// Lookups whose key comes from a variable, and where those keys are written: group 1 of
// `stretch` is the part of `file` that holds them.
struct KeySource {
    const char *file;
    const char *stretch;
};

const KeySource kKeySources[] = {
    { "app/ErrorMessages.cpp", R"(return (\{ "\w+"))" },
    { "app/ActivationScreenModel.cpp", R"(titleKey\(\) const\n(\{[^}]*\}))" },
    // Engine failures, shown through AppPlaybackHost::message().
    { "playback/PlayerEngine.cpp", R"(failWith\((QStringLiteral\("\w+"\))\))" },
    { "playback/PlayerEngineVlc.cpp", R"(failWith\((QStringLiteral\("\w+"\))\))" },
    { "playback/PlayerEngineState.cpp", R"(return (QStringLiteral\("\w+"\)))" },
    { "app/PictureMode.cpp", R"(kLabels\[\] = (\{[^}]*\}))" },
    { "home/SettingsActions.cpp", R"(openChoice<\w+>\(\*app\(?\)?, (QStringLiteral\("\w+"\)))" },
    { "home/HomeScreenModel.cpp", R"(\{ HomeFocus::Target::\w+, "[\w.]+", ("\w+"))" },
    { "home/HomeScreenModel.cpp", R"(countText\(ContentType type\) const\n\{([^;]*;))" },
    { "home/FavoritesScreenModel.cpp", R"(kTabTitles\[\w+::\w+\] = (\{[^}]*\}))" },
    // Pseudo categories' names.
    { "kit/CategoryEntry.cpp", R"(\{ PseudoCategory::\w+, (QStringLiteral\("\w+"\)))" },
    { "live/LiveLists.cpp", R"(\{ PseudoCategory::\w+, (QStringLiteral\("\w+"\)))" },
};

QString readSource(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The key-shaped literals of a piece of source.
Keys literals(const QString &text)
{
    static const QRegularExpression literal(QStringLiteral(R"(["']([a-z][a-z0-9_]*)["'])"));
    Keys keys;
    for (auto it = literal.globalMatch(text); it.hasNext();)
        keys.insert(it.next().captured(1));
    return keys;
}

// The first argument of every lookup by a literal key: tr() and trCount() in C++,
// Localized.text(), .labelled() and .items() in QML.
QString firstArguments(const QString &text)
{
    static const QRegularExpression call(
        QStringLiteral(R"((?:\btr|\btrCount|\bLocalized\.(?:text|labelled|items))\()"));
    QString arguments;
    for (auto it = call.globalMatch(text); it.hasNext();) {
        int depth = 0;
        for (qsizetype i = it.next().capturedEnd(); i < text.size(); ++i) {
            const QChar c = text[i];
            depth += QStringView(u"({[").contains(c) - QStringView(u")}]").contains(c);
            if (depth < 0 || (depth == 0 && c == u','))
                break;
            arguments += c;
        }
        arguments += u'\n';
    }
    return arguments;
}

// Every key the source tree looks up.
Keys usedKeys()
{
    Keys keys;
    QDirIterator files(kSourceDir, { "*.h", "*.cpp", "*.qml" }, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        if (!path.endsWith(u"/app/MessageTable.cpp"))
            keys += literals(firstArguments(readSource(path)));
    }
    for (const KeySource &source : kKeySources) {
        const QRegularExpression stretch(QString::fromLatin1(source.stretch));
        const QString text = readSource(kSourceDir + QString::fromLatin1(source.file));
        auto it = stretch.globalMatch(text);
        EXPECT_TRUE(it.hasNext()) << source.file << " no longer holds keys as " << source.stretch;
        while (it.hasNext())
            keys += literals(it.next().captured(1));
    }
    return keys;
}

// The rows' keys in all three languages are checked by the table's own tests.
TEST(MessageKeys, EveryKeyTheCodeLooksUpIsARow)
{
    const Keys used = usedKeys();
    ASSERT_FALSE(used.isEmpty());
    for (const QString &key : used)
        EXPECT_TRUE(messageTable().contains(key)) << qPrintable(key);
}

TEST(MessageKeys, EveryRowIsLookedUp)
{
    const Keys used = usedKeys();
    // "<key>_<form>" is read through trCount() of "<key>".
    static const QRegularExpression pluralForm(QStringLiteral("^(\\w+)_(?:one|two|few|other)$"));
    for (const MessageTable::Row &row : messageRows()) {
        const QString key = QString::fromUtf8(row.key);
        const QRegularExpressionMatch form = pluralForm.match(key);
        EXPECT_TRUE(used.contains(key) || (form.hasMatch() && used.contains(form.captured(1))))
            << qPrintable(key);
    }
}

TEST(MessageKeys, TheScanReadsTheKeyOfEachKindOfLookup)
{
    const QString text = QStringLiteral(R"(::tr(QStringLiteral("a_key"), { QStringLiteral("value") });
        trCount(many(n) ? QStringLiteral("b") : QStringLiteral("c"), n, { QStringLiteral("value") });
        Localized.labelled("d", "value") + Localized.items('e') + Localized.text(on ? "g" : "h")
        attribute("value"); str(QStringLiteral("value")))");
    EXPECT_EQ(literals(firstArguments(text)), Keys({ "a_key", "b", "c", "d", "e", "g", "h" }));
}

} // namespace
