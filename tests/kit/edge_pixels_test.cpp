#include "KitServices.h"
#include "KitTestSupport.h"
#include "app/AppState.h"
#include "app/ChoiceDialog.h"
#include "kit/Theme.h"

#include <QtQml/qqmlextensionplugin.h>
#include <cmath>
#include <gtest/gtest.h>

Q_IMPORT_QML_PLUGIN(Zelfor_KitPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_AppPlugin)

namespace {

// The violet glow of a focused card (0.45, blurred 16) `past` the edge of its shape moved
// 4 down, in the card's own units.
QColor glow(const QColor &base, double past)
{
    return blend(base, Theme::violet(), 0.45 * 0.5 * std::erfc(past / (8 * std::sqrt(2.0))));
}

// Scaled, clipped and mirrored shapes keep their edges.
TEST(EdgePixels, GrownClippedAndMirroredShapesKeepTheirEdges)
{
    kitServices().app()->setDialog(std::make_unique<ChoiceDialogModel>(
        QStringLiteral("Sort by"), QStringList { "Newest first", "A to Z" }, -1, [](int) {}));
    ShownPage page(QStringLiteral("edges/Edges.qml"),
        { { "dialogModel", QVariant::fromValue(kitServices().app()->dialog()) } });
    ASSERT_TRUE(page.ready()) << qPrintable(page.problems().join('\n'));
    QQuickItem *option = page.child(QStringLiteral("choiceRow"));
    QQuickItem *grown = page.child(QStringLiteral("grownCard"));
    QQuickItem *logo = page.child(QStringLiteral("logo"));
    ASSERT_TRUE(option && grown && logo);
    // A point of an item before it grows by `scale` about its middle.
    const auto unscaled
        = [](QQuickItem *item, QPointF at) { return item->parentItem()->mapToScene(item->position() + at); };
    // The middle of the first pixel wholly above an option grown by 1.01, and how far above
    // its edge it lies in the option's own units.
    const QPointF optionMiddle = unscaled(option, { option->width() / 2, option->height() / 2 });
    const qreal optionTop = optionMiddle.y() - 1.01 * option->height() / 2;
    const QPointF aboveOption(std::floor(optionMiddle.x()) + 0.5, std::floor(optionTop) - 0.5);
    const qreal optionPast = (optionTop - aboveOption.y()) / 1.01;
    const auto at
        = [&](const char *name, QPointF point) { return page.child(QLatin1String(name))->mapToScene(point); };
    const QColor bg = Theme::bg();
    const std::vector<std::tuple<QPointF, QColor, const char *>> probes = {
        { unscaled(option, { -0.5, 23 }), Theme::violet(),
            "a focused option's border past its unscaled edge" },
        { aboveOption, glow(Theme::surface(), optionPast + 4), "the glow above the first option" },
        { at("mirroredCard", { 0.5, 45 }), Theme::cyan(), "a right-to-left focus border's left edge" },
        { at("mirroredCard", { 159.5, 45 }), Theme::violet(), "a right-to-left focus border's right edge" },
        { at("mirroredStrip", { 150, 88.5 }), Theme::cyan(), "a right-to-left resume fill at the right" },
        { at("mirroredStrip", { 10, 88.5 }), blend(bg, Qt::black, 0.5),
            "a right-to-left resume track at the left" },
        { at("mirroredStrip", { 0.5, 89.5 }), bg, "a resume strip past its rounded corner" },
        { logo->mapToScene({ 0.5, 0.5 }), Theme::raisedHover(), "a channel logo's square corner" },
    };
    QImage image;
    // Focus borders and glows settle first.
    const bool settled = QTest::qWaitFor(
        [&] {
        image = page.view().grabWindow();
        return std::all_of(probes.begin(), probes.end(),
            [&](const auto &probe) { return near(pixelAt(image, std::get<0>(probe)), std::get<1>(probe)); });
        },
        5000);
    kitServices().app()->setDialog(nullptr);
    EXPECT_TRUE(settled);
    EXPECT_TRUE(page.problems().isEmpty()) << qPrintable(page.problems().join('\n'));
    // Where a grown card's left edge cuts a pixel, border and glow share it: it is no darker
    // than the glow beside it.
    const QPointF middle = unscaled(grown, { grown->width() / 2, grown->height() / 2 });
    const QPointF cut(std::floor(middle.x() - 1.04 * grown->width() / 2) + 0.5, middle.y());
    EXPECT_GE(pixelAt(image, cut).blue(), pixelAt(image, cut - QPointF(1, 0)).blue())
        << "a seam beside a grown card";
    for (const auto &[point, expected, what] : probes) {
        const QColor got = pixelAt(image, point);
        EXPECT_TRUE(near(got, expected))
            << what << ": " << qPrintable(got.name()) << " for " << qPrintable(expected.name());
    }
}

} // namespace
