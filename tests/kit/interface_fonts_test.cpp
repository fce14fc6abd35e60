#include "kit/InterfaceFonts.h"
#include "kit/Theme.h"

#include <QFont>
#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <QRawFont>
#include <QTextLayout>
#include <gtest/gtest.h>
#include <numeric>

namespace {

// The weights the views name, lightest first.
const QFont::Weight kWeights[] = { QFont::Normal, QFont::Medium, QFont::DemiBold, QFont::Bold, QFont::ExtraBold };

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
    qint64 sum = 0;
    for (int y = 0; y < image.height(); ++y)
        sum = std::accumulate(image.constScanLine(y), image.constScanLine(y) + image.width(), sum);
    return sum;
}

class InterfaceFontWeights : public ::testing::TestWithParam<const char16_t *> {};

// Every weight draws a face of its own: each leaves more ink than the weight below it.
TEST_P(InterfaceFontWeights, EachWeightDrawsHeavierThanTheOneBelow)
{
    const QString text = QString::fromUtf16(GetParam());
    qint64 below = 0;
    for (const QFont::Weight weight : kWeights) {
        const qint64 drawn = ink(text, font(Theme::fontFamily(), weight));
        EXPECT_GT(drawn, below) << "weight " << weight;
        below = drawn;
    }
}

INSTANTIATE_TEST_SUITE_P(Scripts, InterfaceFontWeights, ::testing::Values(u"Zelfor Live TV", u"البث المباشر"),
    [](const auto &info) { return std::string(info.index == 0 ? "Latin" : "Arabic"); });

class ArabicFace : public ::testing::TestWithParam<std::string> {};

// Arabic set in the interface or the rounded face draws in Noto Sans Arabic at every weight.
TEST_P(ArabicFace, ArabicDrawsInNotoSansArabic)
{
    for (const QFont::Weight weight : kWeights) {
        QTextLayout layout(u"العربية"_qs, font(QString::fromStdString(GetParam()), weight));
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        const QList<QGlyphRun> runs = layout.glyphRuns();
        ASSERT_FALSE(runs.isEmpty());
        for (const QGlyphRun &run : runs)
            EXPECT_EQ(run.rawFont().familyName().toStdString(), "Noto Sans Arabic") << "weight " << weight;
    }
}

INSTANTIATE_TEST_SUITE_P(Faces, ArabicFace, ::testing::Values(Theme::fontFamily().toStdString(), Theme::roundedFontFamily().toStdString()),
    [](const auto &info) { return std::string(info.index == 0 ? "Interface" : "Rounded"); });

} // namespace
