#include "KitTestSupport.h"
#include "kit/AccentText.h"
#include "kit/BlurredShape.h"
#include "kit/CentredGlyphs.h"
#include "kit/FocusFrame.h"
#include "kit/GradientShape.h"
#include "kit/PicturePlaceholder.h"
#include "kit/RadialGlow.h"
#include "kit/ShadowPatch.h"
#include "kit/SpinnerArc.h"
#include "kit/Theme.h"

#include <QMetaProperty>
#include <QPainter>
#include <QSignalSpy>
#include <QtQml/qqmlextensionplugin.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>

Q_IMPORT_QML_PLUGIN(Zelfor_KitPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_AppPlugin)

namespace {

TEST(PaintedItems, ASizeBelowOnePixelPaintsWithoutWarnings)
{
    ShownPage page(QStringLiteral("painted/SlimItems.qml"));
    ASSERT_TRUE(page.ready()) << qPrintable(page.problems().join('\n'));
    page.view().grabWindow();
    EXPECT_TRUE(page.problems().isEmpty()) << qPrintable(page.problems().join('\n'));
}

TEST(PaintedItems, RoundShapesHaveSmoothRims)
{
    ShownPage page(QStringLiteral("painted/SmoothEdges.qml"));
    ASSERT_TRUE(page.ready()) << qPrintable(page.problems().join('\n'));
    const QImage image = page.view().grabWindow();
    for (const char *name : { "disc", "ring" }) {
        SCOPED_TRACE(name);
        const QQuickItem *item = page.child(QString::fromLatin1(name));
        ASSERT_NE(item, nullptr);
        // White on black: a blended pixel is grey, a pixel of a rough rim is one or the other.
        int blended = 0;
        const QRect area = item->mapRectToScene(item->boundingRect()).toRect();
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                const int grey = image.pixelColor(x, y).red();
                blended += grey > 30 && grey < 225 ? 1 : 0;
            }
        }
        EXPECT_GT(blended, 8);
    }
    EXPECT_TRUE(page.problems().isEmpty()) << qPrintable(page.problems().join('\n'));
}

// Glows paint fewer pixels than they show; drawn, they match a paint at full size.
TEST(PaintedItems, SoftPicturesLookLikeTheirFullSizePaint)
{
    ShownPage page(QStringLiteral("painted/SoftPictures.qml"));
    ASSERT_TRUE(page.ready()) << qPrintable(page.problems().join('\n'));
    const QImage shown = page.view().grabWindow().convertToFormat(QImage::Format_RGB32);
    for (const char *name : { "background", "glow" }) {
        SCOPED_TRACE(name);
        auto *item = qobject_cast<QQuickPaintedItem *>(page.child(QString::fromLatin1(name)));
        ASSERT_NE(item, nullptr);
        QImage full(item->size().toSize(), QImage::Format_RGB32);
        full.fill(item->fillColor().isValid() && item->fillColor().alpha() == 255 ? item->fillColor()
                                                                                  : QColor(Qt::black));
        {
            QPainter painter(&full);
            item->paint(&painter);
        }
        const QPoint origin = item->mapToScene(QPointF(0, 0)).toPoint();
        int worst = 0;
        for (int y = 0; y < full.height(); y += 7) {
            for (int x = 0; x < full.width(); x += 7) {
                const QColor want = full.pixelColor(x, y);
                const QColor got = shown.pixelColor(origin + QPoint(x, y));
                worst = std::max({ worst, std::abs(want.red() - got.red()),
                    std::abs(want.green() - got.green()), std::abs(want.blue() - got.blue()) });
            }
        }
        EXPECT_LE(worst, 4);
    }
    EXPECT_TRUE(page.problems().isEmpty()) << qPrintable(page.problems().join('\n'));
}

// Across a straight edge a blurred shape follows the Gaussian's integral, whether it is
// made at full size (narrow blurs) or at half size (wide ones), and keeps its full size.
TEST(PaintedItems, BlurredShapesFollowTheGaussianAcrossAnEdge)
{
    for (const qreal blur : { 4.0, 30.0 }) {
        SCOPED_TRACE(blur);
        const QSize shape(160, 160);
        const int reach = shadowReach(blur);
        const QImage image = blurredShape(Qt::black, blur, 0, shape);
        ASSERT_EQ(image.size(), shape + QSize(2 * reach, 2 * reach));
        const qreal sigma = blur / 2;
        const int middle = image.height() / 2;
        for (const qreal along : { -1.0, 0.0, 1.0 }) {
            const int x = reach + int(std::floor(along * sigma));
            const double centre = (x + 0.5 - reach) / sigma;
            const double want = 255 * 0.5 * std::erfc(-centre / std::sqrt(2.0));
            EXPECT_NEAR(qAlpha(image.pixel(x, middle)), want, 6) << "at " << along << " deviations";
        }
    }
}

struct PropertyCase {
    const char *name;
    std::function<QQuickItem *()> make;
    const char *property;
    QVariant value;
};

class PaintedProperties : public ::testing::TestWithParam<PropertyCase> { };

TEST_P(PaintedProperties, ANewValueIsKeptAndAnnouncedOnce)
{
    const PropertyCase &row = GetParam();
    const std::unique_ptr<QQuickItem> item(row.make());
    const QMetaObject *meta = item->metaObject();
    const QMetaProperty property = meta->property(meta->indexOfProperty(row.property));
    ASSERT_TRUE(property.hasNotifySignal());
    QSignalSpy announced(item.get(), property.notifySignal());
    ASSERT_NE(item->property(row.property), row.value) << "the value must differ from the default";
    ASSERT_TRUE(item->setProperty(row.property, row.value));
    ASSERT_TRUE(item->setProperty(row.property, row.value));
    EXPECT_EQ(item->property(row.property), row.value);
    EXPECT_EQ(announced.count(), 1);
}

const QVariantList kRedToBlue { QColor(Qt::red), QColor(Qt::blue) };

INSTANTIATE_TEST_SUITE_P(Table, PaintedProperties,
    ::testing::Values(PropertyCase { "ShapeRadius", [] { return new GradientShape; }, "radius", 6.0 },
        PropertyCase { "ShapeBorder", [] { return new GradientShape; }, "borderWidth", 2.0 },
        PropertyCase { "ShapeColors", [] { return new GradientShape; }, "colors", kRedToBlue },
        PropertyCase { "ShapeDiagonal", [] { return new GradientShape; }, "diagonal", true },
        PropertyCase { "ShapeVertical", [] { return new GradientShape; }, "vertical", true },
        PropertyCase { "FrameRadius", [] { return new FocusFrame; }, "radius", 6.0 },
        PropertyCase { "FrameAmount", [] { return new FocusFrame; }, "amount", 0.5 },
        PropertyCase { "FrameHairline", [] { return new FocusFrame; }, "hairline", QColor(Qt::red) },
        PropertyCase { "FrameWidth", [] { return new FocusFrame; }, "focusWidth", 3.0 },
        PropertyCase { "PlaceholderTitle", [] { return new PicturePlaceholder; }, "title", u"BBC One"_qs },
        PropertyCase { "PlaceholderFontSize", [] { return new PicturePlaceholder; }, "fontSize", 20.0 },
        PropertyCase { "PlaceholderRadius", [] { return new PicturePlaceholder; }, "radius", 6.0 },
        PropertyCase { "PlaceholderStrength", [] { return new PicturePlaceholder; }, "strength", 0.5 },
        PropertyCase { "SpinnerLine", [] { return new SpinnerArc; }, "lineWidth", 2.0 },
        PropertyCase { "GlowColor", [] { return new RadialGlow; }, "color", QColor(Qt::red) },
        PropertyCase { "TextText", [] { return new AccentText; }, "text", u"Zelfor"_qs },
        PropertyCase { "TextColors", [] { return new AccentText; }, "colors", kRedToBlue }),
    [](const auto &info) { return std::string(info.param.name); });

QImage paintOf(QQuickPaintedItem &item)
{
    QImage image(item.size().toSize(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    item.paint(&painter);
    return image;
}

template <typename Item> std::function<QQuickItem *()> sized(std::function<void(Item &)> setUp = {})
{
    return [setUp] {
        auto *item = new Item;
        item->setSize(QSizeF(120, 80));
        if (setUp)
            setUp(*item);
        return item;
    };
}

class SharedLooks : public ::testing::TestWithParam<PropertyCase> { };

// Items that look alike share one picture: a new value never shows an old look, and going
// back shows the first one again.
TEST_P(SharedLooks, EachValuePaintsItsOwnLook)
{
    const PropertyCase &row = GetParam();
    const std::unique_ptr<QQuickItem> made(row.make());
    auto &item = static_cast<QQuickPaintedItem &>(*made);
    const QVariant first = item.property(row.property);
    const QImage before = paintOf(item);
    ASSERT_TRUE(item.setProperty(row.property, row.value));
    EXPECT_NE(paintOf(item), before);
    ASSERT_TRUE(item.setProperty(row.property, first));
    EXPECT_EQ(paintOf(item), before);
}

const auto shadow = sized<ShadowPatch>([](ShadowPatch &patch) { patch.setBlur(6); });

INSTANTIATE_TEST_SUITE_P(Table, SharedLooks,
    ::testing::Values(PropertyCase { "ShadowColor", shadow, "color", QColor(Qt::red) },
        PropertyCase { "ShadowBlur", shadow, "blur", 8.0 },
        PropertyCase { "ShadowRadius", shadow, "shapeRadius", 12.0 },
        PropertyCase { "ShadowOffset", shadow, "offsetY", 4.0 },
        PropertyCase { "ShadowInset", shadow, "inset", 3.0 }),
    [](const auto &info) { return std::string(info.param.name); });

struct ShownCase {
    const char *name;
    const char *item;
    const char *property;
    QVariant value;
};

class ShownLooks : public ::testing::TestWithParam<ShownCase> { };

// Items that look alike show one texture, and a placeholder's initials one of their own
// over its gradient: a new value never shows an old look, and going back shows the first
// one again.
TEST_P(ShownLooks, EachValueShowsItsOwnLook)
{
    const ShownCase &row = GetParam();
    ShownPage page(QStringLiteral("painted/SharedLooks.qml"));
    ASSERT_TRUE(page.ready()) << qPrintable(page.problems().join('\n'));
    QQuickItem *item = page.child(QString::fromLatin1(row.item));
    ASSERT_NE(item, nullptr);
    const QVariant first = item->property(row.property);
    const QImage before = page.view().grabWindow();
    ASSERT_TRUE(item->setProperty(row.property, row.value));
    EXPECT_NE(page.view().grabWindow(), before);
    ASSERT_TRUE(item->setProperty(row.property, first));
    EXPECT_EQ(page.view().grabWindow(), before);
}

INSTANTIATE_TEST_SUITE_P(Table, ShownLooks,
    ::testing::Values(ShownCase { "FrameRadius", "frame", "radius", 12.0 },
        ShownCase { "FrameAmount", "frame", "amount", 0.5 },
        ShownCase { "FrameHairline", "frame", "hairline", QColor(Qt::red) },
        ShownCase { "FrameWidth", "focused", "focusWidth", 4.0 },
        ShownCase { "PlaceholderTitle", "placeholder", "title", u"BBC One"_qs },
        ShownCase { "PlaceholderFontSize", "placeholder", "fontSize", 20.0 },
        ShownCase { "PlaceholderStrength", "placeholder", "strength", 0.5 },
        ShownCase { "PlaceholderRadius", "placeholder", "radius", 12.0 }),
    [](const auto &info) { return std::string(info.param.name); });

TEST(PaintedItems, APlaceholderShowsTheInitialsOfItsTitleAndATextItsWidth)
{
    PicturePlaceholder placeholder;
    placeholder.setTitle(u"Arte  France  Cinema"_qs);
    EXPECT_EQ(placeholder.initials(), u"AF"_qs);
    placeholder.setTitle(u"Canal+ Sport"_qs);
    EXPECT_EQ(placeholder.initials(), u"CS"_qs);
    AccentText text;
    text.setText(u"Zelfor"_qs);
    const qreal narrow = text.implicitWidth();
    text.setText(u"Zelfor Zelfor"_qs);
    EXPECT_GT(narrow, 0);
    EXPECT_GT(text.implicitWidth(), narrow);
}

// Text shaped ahead draws where QPainter::drawText centres it, pixel for pixel, in an area
// of its measured size at a fractional place, as placeholders draw their initials.
TEST(PaintedItems, CentredGlyphsDrawWhereDrawTextCentres)
{
    QFont font(Theme::roundedFontFamily());
    font.setPixelSize(13);
    font.setWeight(QFont::ExtraBold);
    const auto drawn = [](const std::function<void(QPainter *)> &draw) {
        QImage image(40, 32, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
        painter.setPen(Qt::white);
        draw(&painter);
        return image;
    };
    for (const QString &text : { u"TV"_qs, u"AF"_qs, u"\u041f\u043a"_qs, u"\u0642"_qs }) {
        const CentredGlyphs glyphs(text, font);
        QRectF area(QPointF(), glyphs.size());
        area.moveCenter(QPointF(19.3, 15.7));
        EXPECT_EQ(
            drawn([&](QPainter *painter) { glyphs.draw(painter, area); }), drawn([&](QPainter *painter) {
                painter->setFont(font);
                painter->drawText(area, Qt::AlignCenter | Qt::TextSingleLine, text);
            }))
            << qPrintable(text);
    }
}

} // namespace
