#include "KitServices.h"
#include "KitTestSupport.h"
#include "app/AppState.h"
#include "app/ChoiceDialog.h"
#include "kit/Theme.h"

#include <QSGRendererInterface>
#include <QtQml/qqmlextensionplugin.h>
#include <cmath>
#include <gtest/gtest.h>

Q_IMPORT_QML_PLUGIN(Zelfor_KitPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_AppPlugin)

namespace {

// The share of a shadow `blur` wide that falls `past` its straight edge: a Gaussian of half
// that deviation, integrated across the edge.
double shadowShare(double past, double blur)
{
    return 0.5 * std::erfc(past / (blur / 2 * std::sqrt(2.0)));
}

QString text(const QColor &c)
{
    return QStringLiteral("(%1,%2,%3)").arg(c.red()).arg(c.green()).arg(c.blue());
}

struct Probe {
    const char *item;
    QPoint at; // in the item, the pixel right and below this point
    QColor expected;
    const char *what;
};

// The kit page holds shapes on a plain fill; on this renderer every probe reads its exact
// value, within 3 per channel.
TEST(GalleryPixels, ShapesDrawExactlyOnThisRenderer)
{
    LanguageScope language { QStringLiteral("en") };
    kitServices().app()->setDialog(std::make_unique<ChoiceDialogModel>(
        QStringLiteral("Sort by"), QStringList { "Newest first", "A to Z", "Z to A" }, 1, [](int) {}));
    ShownPage page(QStringLiteral("gallery/Gallery.qml"),
        { { "dialogModel", QVariant::fromValue(kitServices().app()->dialog()) } });
    ASSERT_TRUE(page.ready()) << qPrintable(page.problems().join('\n'));
    const QSGRendererInterface::GraphicsApi api = page.view().rendererInterface()->graphicsApi();
    const bool software = api == QSGRendererInterface::Software;
    // A run that asks for OpenGL never falls back to the software renderer unnoticed.
    if (qgetenv("QSG_RHI_BACKEND") == "opengl")
        EXPECT_EQ(api, QSGRendererInterface::OpenGL);

    const QColor bg = Theme::bg();
    const QColor white = Qt::white;
    const QColor chipFill = blend(bg, Theme::cyan(), 0.16);
    std::vector<Probe> probes = {
        { "glowCard", { 80, 45 }, blend(bg, Theme::violet(), 0.22), "inside a focused see-through card" },
        { "clipCard", { 80, 45 }, Theme::red(), "a card's child inside the card" },
        { "clipCard", { 1, 1 }, bg, "a card's child past its rounded corner" },
        { "clipCard", { 158, 88 }, bg, "a card's child past its opposite corner" },
        { "clipCard", { -4, 45 }, bg, "a card's child past its edge" },
        { "rimField", { 85, 0 }, blend(Theme::raised(), white, 0.08),
            "the filter field's rim over its fill" },
        { "rimChip", { 0, 0 }, blend(chipFill, Theme::cyan(), 0.35), "a chip's rim over its fill" },
        { "dialogPanel", { 220, 0 }, blend(Theme::surface(), white, 0.1), "the dialog's rim over its fill" },
    };
    // Below the focused card: violet at 0.45, blurred 16 and moved 4 down.
    for (const int row : { 0, 3, 7, 12 }) {
        const double share = 0.45 * shadowShare(row + 0.5 - 4, 16);
        probes.push_back(
            { "glowCard", { 80, 90 + row }, blend(bg, Theme::violet(), share), "the glow below a card" });
    }
    QQuickItem *chip = page.child(QStringLiteral("rimChip"));
    ASSERT_TRUE(chip);
    probes[6].at.setX(int(chip->width() / 2));

    QQuickItem *selectedRow = nullptr;
    for (QQuickItem *item : itemsBelow(page.root())) {
        if (item->objectName() == QLatin1String("choiceRow") && item->property("selected").toBool())
            selectedRow = item;
    }
    ASSERT_TRUE(selectedRow);
    ASSERT_TRUE(selectedRow->property("focused").toBool());

    const auto pixel = [&](const QImage &image, QQuickItem *item, QPoint at) {
        const QPointF scene = item->mapToScene(QPointF(at));
        return image.pixelColor(int(std::floor(scene.x())), int(std::floor(scene.y())));
    };
    const QColor rowInside = blend(Theme::surface(), Theme::violet(), 0.22);
    const QPoint rowMiddle(int(selectedRow->width() / 2), int(selectedRow->height() / 2));
    const auto allMatch = [&](const QImage &image) {
        if (!near(pixel(image, selectedRow, rowMiddle), rowInside))
            return false;
        return std::all_of(probes.begin(), probes.end(), [&](const Probe &probe) {
            QQuickItem *item = page.child(QLatin1String(probe.item));
            return item && near(pixel(image, item, probe.at), probe.expected);
        });
    };
    // Focus borders and glows settle first.
    QImage image;
    const bool settled = QTest::qWaitFor(
        [&] {
        image = page.view().grabWindow();
        return allMatch(image);
        },
        5000);
    kitServices().app()->setDialog(nullptr);
    if (const QByteArray folder = qgetenv("ZELFOR_KIT_SHOTS"); !folder.isEmpty())
        image.save(
            QString::fromLocal8Bit(folder) + (software ? "/kit-pixels-software.png" : "/kit-pixels-gpu.png"));
    EXPECT_TRUE(settled);
    EXPECT_TRUE(page.problems().isEmpty()) << qPrintable(page.problems().join('\n'));
    const QColor rowShown = pixel(image, selectedRow, rowMiddle);
    EXPECT_TRUE(near(rowShown, rowInside))
        << "inside the focused chosen option: " << qPrintable(text(rowShown)) << " for "
        << qPrintable(text(rowInside));
    for (const Probe &probe : probes) {
        const QColor shown = pixel(image, page.child(QLatin1String(probe.item)), probe.at);
        EXPECT_TRUE(near(shown, probe.expected))
            << probe.what << " at " << probe.at.x() << "," << probe.at.y() << ": " << qPrintable(text(shown))
            << " for " << qPrintable(text(probe.expected));
    }
}

} // namespace
