#include "kit/InterfaceFonts.h"
#include "kit/Theme.h"

#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>
#include <QTextLayout>
#include <gtest/gtest.h>
#include <numeric>

namespace {

const QFont::Weight kWeights[]
    = { QFont::Normal, QFont::Medium, QFont::DemiBold, QFont::Bold, QFont::ExtraBold };

QFont font(const QString &family, QFont::Weight weight)
{
    loadInterfaceFonts();
    QFont font(family);
    font.setPixelSize(40);
    font.setWeight(weight);
    return font;
}

// The coverage `text` leaves on its pixels, drawn white on black.
qint64 ink(const QString &text, const QFont &font)
{
    QImage image(640, 80, QImage::Format_Grayscale8);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.setPen(Qt::white);
    painter.setFont(font);
    painter.drawText(image.rect(), Qt::AlignCenter, text);
    painter.end();
    return std::accumulate(image.constBits(), image.constBits() + image.sizeInBytes(), qint64(0));
}

// Every weight draws a face of its own: each leaves more ink than the weight below it.
TEST(InterfaceFonts, EachWeightDrawsHeavierThanTheOneBelow)
{
    for (const QString &text : { u"Zelfor Live TV"_qs, u"البث المباشر"_qs }) {
        qint64 below = 0;
        for (const QFont::Weight weight : kWeights) {
            const qint64 drawn = ink(text, font(Theme::fontFamily(), weight));
            EXPECT_GT(drawn, below) << qPrintable(text) << " at weight " << weight;
            below = drawn;
        }
    }
}

// Arabic set in the interface or the rounded face draws in Noto Sans Arabic at every weight.
TEST(InterfaceFonts, ArabicDrawsInNotoSansArabic)
{
    for (const QString &family : { Theme::fontFamily(), Theme::roundedFontFamily() }) {
        for (const QFont::Weight weight : kWeights) {
            QTextLayout layout(u"العربية"_qs, font(family, weight));
            layout.beginLayout();
            layout.createLine();
            layout.endLayout();
            for (const QGlyphRun &run : layout.glyphRuns())
                EXPECT_EQ(run.rawFont().familyName().toStdString(), "Noto Sans Arabic") << qPrintable(family);
        }
    }
}

} // namespace
