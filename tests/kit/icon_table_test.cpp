#include "QmlHarness.h"
#include "kit/IconTable.h"

#include <QDirIterator>
#include <QFile>
#include <QFont>
#include <QRawFont>
#include <QPainterPath>
#include <QRegularExpression>
#include <QtQml/qqmlextensionplugin.h>
#include <gtest/gtest.h>

Q_IMPORT_QML_PLUGIN(Zelfor_KitPlugin)

TEST(IconTable, EveryGlyphExistsInTheIconFont)
{
    QFont font(IconTable::fontFamily());
    font.setPixelSize(24);
    const QRawFont raw = QRawFont::fromFont(font);
    ASSERT_TRUE(raw.isValid());
    ASSERT_EQ(raw.familyName(), IconTable::fontFamily());
    for (auto it = IconTable::table().cbegin(); it != IconTable::table().cend(); ++it)
        EXPECT_TRUE(raw.supportsCharacter(QChar(it.value()))) << qPrintable(it.key());
}

TEST(IconTable, EverySymbolNamedInQmlIsKnown)
{
    static const QRegularExpression symbolProperty(
        QStringLiteral(R"re((?:icon|name|symbol)\s*:\s*"([a-z0-9]+(?:\.[a-z0-9]+)*)")re"));
    QDirIterator files(QStringLiteral(ZELFOR_SOURCE_DIR "/src"), { QStringLiteral("*.qml") }, QDir::Files,
        QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QFile file(files.next());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        for (const auto &match : symbolProperty.globalMatch(text)) {
            EXPECT_FALSE(IconTable::glyph(match.captured(1)).isEmpty())
                << qPrintable(file.fileName()) << ": " << qPrintable(match.captured(1));
        }
    }
}

TEST(IconTable, IconDrawsKnownNamesAndWarnsOnUnknownOnes)
{
    QQmlEngine engine;
    for (const auto &[name, text] :
        { std::pair { "heart.fill", QString(QChar(0xe87d)) }, std::pair { "no.such.symbol", QString() } }) {
        auto icon = loadQml(engine, QStringLiteral("qrc:/Zelfor/Kit/Icon.qml"), { { "name", name } });
        ASSERT_TRUE(icon.object);
        EXPECT_EQ(icon.object->property("text").toString(), text) << name;
        EXPECT_EQ(icon.problems.isEmpty(), !text.isEmpty()) << qPrintable(icon.problems.join('\n'));
    }
}

// Each symbol's glyph spans a similar share of the icon's size, as the screens expect.
TEST(IconTable, EverySymbolDrawsAtACommonOpticalSize)
{
    constexpr qreal size = 32;
    QQmlEngine engine;
    for (auto it = IconTable::table().cbegin(); it != IconTable::table().cend(); ++it) {
        auto icon = loadQml(
            engine, QStringLiteral("qrc:/Zelfor/Kit/Icon.qml"), { { "name", it.key() }, { "size", size } });
        ASSERT_TRUE(icon.object);
        const QRawFont raw = QRawFont::fromFont(icon.object->property("font").value<QFont>());
        const QRectF bounds
            = raw.pathForGlyph(raw.glyphIndexesForString(QString(QChar(it.value()))).value(0)).boundingRect();
        const qreal extent = qMax(bounds.width(), bounds.height()) / size;
        EXPECT_GE(extent, 0.65) << qPrintable(it.key());
        EXPECT_LE(extent, 0.95) << qPrintable(it.key());
    }
}
