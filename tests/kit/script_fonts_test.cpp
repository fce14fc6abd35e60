#include "kit/ScriptFonts.h"
#include "kit/Theme.h"

#include <QFont>
#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <QTextLayout>
#include <gtest/gtest.h>

namespace {

// Glyphs of `text` in the interface font as the text engine shapes it, falling back to
// other installed fonts; a missing glyph is index 0 (drawn as an empty box).
QList<quint32> shapedGlyphs(const QString &text)
{
    QTextLayout layout(text, QFont(Theme::fontFamily(), 16));
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    QList<quint32> glyphs;
    for (const QGlyphRun &run : layout.glyphRuns())
        glyphs += run.glyphIndexes();
    return glyphs;
}

// Names from real playlists, in every script they come in, are drawn with real glyphs.
TEST(ScriptFonts, NamesInEveryScriptHaveGlyphs)
{
    const QString names[] = { u"Canal+ Sport"_qs, u"الجزيرة الوثائقية"_qs, u"中央电视台 综合"_qs,
        u"日本テレビ ニュース"_qs, u"한국 방송 뉴스"_qs, u"華視新聞"_qs };
    for (const QString &name : names) {
        const QList<quint32> glyphs = shapedGlyphs(name);
        ASSERT_FALSE(glyphs.isEmpty()) << qPrintable(name);
        EXPECT_FALSE(glyphs.contains(0)) << qPrintable(name);
    }
    const QString folder = qEnvironmentVariable("ZELFOR_GRAB_DIR");
    if (folder.isEmpty())
        return;
    QImage image(420, 40 * int(std::size(names)), QImage::Format_RGB32);
    image.fill(Theme::bg());
    QPainter painter(&image);
    painter.setPen(Qt::white);
    painter.setFont(QFont(Theme::fontFamily(), 16));
    for (int i = 0; i < int(std::size(names)); ++i)
        painter.drawText(QRect(12, 40 * i, 400, 40), Qt::AlignVCenter, names[i]);
    painter.end();
    image.save(folder + u"/script-fonts.png"_qs);
}

// The fonts a playlist needs are found from one character of each script its names use
// past Latin, in the order of the scripts, and their first symbol.
TEST(ScriptFonts, SamplesHoldOneCharacterOfEachScriptPastLatin)
{
    const auto samplesOf = [](std::initializer_list<QString> names) {
        MediaItems items;
        for (const QString &name : names)
            items.append(MediaItem { .uid = items.size(), .name = name });
        return scriptSamples(items);
    };
    EXPECT_EQ(samplesOf({ u"Canal+ Sport (1080p)"_qs, u"T\u00e9l\u00e9 M\u00fasica"_qs }), QString());
    EXPECT_EQ(
        samplesOf({ u"\u0642\u0646\u0627\u0629"_qs, u"\u041f\u0435\u0440\u0432\u044b\u0439 \u26bd Live"_qs,
            u"\u041a\u0430\u043d\u0430\u043b"_qs, u"\u039d\u03ad\u03b1"_qs }),
        u"\u039d \u041f \u0642 \u26bd"_qs);
}

// Each sample is laid out once, between events, however many sections bring it.
TEST(ScriptFonts, AWarmerLaysOutEachSampleOnceBetweenEvents)
{
    FontWarmer warmer({ QFont(Theme::fontFamily()) });
    warmer.add(u"\u041f \u0642 \u26bd"_qs);
    warmer.add(u"\u0642 \u039d"_qs);
    EXPECT_EQ(warmer.pending(), 4);
    ASSERT_TRUE(QTest::qWaitFor([&] { return warmer.pending() == 0; }, 5000));
    warmer.add(u"\u039d \u041f"_qs);
    EXPECT_EQ(warmer.pending(), 0);
}

} // namespace
