#include "KitServices.h"
#include "KitTestSupport.h"
#include "app/AppState.h"
#include "app/ChoiceDialog.h"
#include "kit/ImageStore.h"
#include "kit/RemotePicture.h"

#include <QSGRendererInterface>
#include <QtQml/qqmlextensionplugin.h>
#include <gtest/gtest.h>

Q_IMPORT_QML_PLUGIN(Zelfor_KitPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_AppPlugin)

namespace {

QString urlOf(const char *file)
{
    return QStringLiteral("qrc:/Zelfor/Kit/%1.qml").arg(QLatin1String(file));
}

// Grabs the shown page; ZELFOR_KIT_SHOTS names a folder that receives the images.
QImage shot(ShownPage &page, const QString &name)
{
    QTest::qWait(300);
    const QImage image = page.view().grabWindow();
    if (const QByteArray folder = qgetenv("ZELFOR_KIT_SHOTS"); !folder.isEmpty())
        image.save(QString::fromLocal8Bit(folder) + '/' + name + ".png");
    return image;
}

// The two test pages hold every view of the kit in its states; each renders in
// both directions without a warning.
class KitPages : public ::testing::TestWithParam<bool> {
protected:
    const bool rightToLeft = GetParam();
    LanguageScope language { rightToLeft ? QStringLiteral("ar") : QStringLiteral("en") };
    const QString suffix = rightToLeft ? QStringLiteral("-ar") : QStringLiteral("-en");
};

TEST_P(KitPages, GalleryRendersWithoutWarnings)
{
    kitServices().app()->setDialog(std::make_unique<ChoiceDialogModel>(
        QStringLiteral("Sort by"), QStringList { "Newest first", "A to Z", "Z to A" }, 1, [](int) {}));
    ShownPage page(QStringLiteral("gallery/Gallery.qml"),
        { { "rightToLeft", rightToLeft },
            { "dialogModel", QVariant::fromValue(kitServices().app()->dialog()) } });
    ASSERT_TRUE(page.ready());
    const QImage image = shot(page, "kit-gallery" + suffix);
    kitServices().app()->setDialog(nullptr);
    EXPECT_TRUE(page.problems().isEmpty()) << qPrintable(page.problems().join('\n'));
    // The backdrop is the dark base colour far from both glows.
    const QColor corner = image.pixelColor(image.width() / 2, image.height() - 2);
    EXPECT_LT(corner.red(), 40);
    EXPECT_LT(corner.green(), 60);
    // Gradients, the brand tile, the spinner arc, accent text and marks draw with every renderer.
    const auto pixelAt = [&](const char *name, QPointF at) {
        QQuickItem *item = page.child(QLatin1String(name));
        return item ? image.pixelColor(item->mapToScene(at).toPoint()) : QColor();
    };
    const auto violetish = [](QColor c) { return c.blue() > 170 && c.red() > c.green(); };
    const auto cyanish = [](QColor c) { return c.green() > 120 && c.green() > c.red(); };
    QQuickItem *button = page.child(QStringLiteral("primaryButton"));
    ASSERT_TRUE(button);
    // Violet at the leading edge: the right one in Arabic.
    const auto leading = [&](qreal x, qreal width) { return rightToLeft ? width - x : x; };
    EXPECT_TRUE(violetish(pixelAt("primaryButton", { leading(10, button->width()), button->height() / 2 })));
    EXPECT_TRUE(cyanish(
        pixelAt("primaryButton", { leading(button->width() - 10, button->width()), button->height() / 2 })));
    EXPECT_TRUE(violetish(pixelAt("accentCard", { leading(20, 190), 20 })));
    EXPECT_TRUE(cyanish(pixelAt("accentCard", { leading(170, 190), 90 })));
    // The brand tile's top-left corner region is violet.
    EXPECT_TRUE(violetish(pixelAt("brandTitle", { 8, 8 })));
    // Accent pixels (light violet to light cyan) within an item: the title's "or", the
    // spinner's arc and the dialog's check mark.
    const auto accentPixels = [&](QQuickItem *item) {
        const QRect box = item->mapRectToScene(QRectF(0, 0, item->width(), item->height())).toAlignedRect();
        int count = 0;
        for (int y = box.top(); y <= box.bottom(); ++y) {
            for (int x = box.left(); x <= box.right(); ++x) {
                const QColor c = image.pixelColor(x, y);
                count += c.blue() > 160 && (c.red() > 100 || c.green() > 140) ? 1 : 0;
            }
        }
        return count;
    };
    for (const char *name : { "brandTitle", "spinner", "checkMark" }) {
        const QList<QQuickItem *> all = itemsBelow(page.root());
        const auto shown = std::find_if(all.begin(), all.end(),
            [&](QQuickItem *item) { return item->objectName() == QLatin1String(name) && item->isVisible(); });
        ASSERT_NE(shown, all.end()) << name;
        QQuickItem *item = *shown;
        EXPECT_GT(accentPixels(item), 20) << name;
    }
}

TEST_P(KitPages, RowsRenderPicturesAndPlaceholdersWithoutWarnings)
{
    kitServices().images()->clear();
    LoopbackServer server;
    const auto serve = [&](const char *path, QSize size, QColor color, const char *format) {
        server.serve(
            QLatin1String(path), LoopbackResponse::file(pictureBytes(size, format, color), "image/*"));
    };
    serve("/logo-wide.png", { 120, 40 }, QColor(220, 30, 30), "PNG");
    serve("/logo-tall.webp", { 40, 80 }, QColor(30, 160, 60), "WEBP");
    serve("/poster.webp", { 300, 450 }, QColor(40, 70, 160), "WEBP");
    serve("/backdrop.png", { 640, 360 }, QColor(200, 120, 20), "PNG");
    server.serve("/missing.png", LoopbackResponse::withStatus(404));
    ShownPage page(QStringLiteral("rows/RowsGallery.qml"),
        { { "base", server.baseUrl() }, { "rightToLeft", rightToLeft } });
    ASSERT_TRUE(page.ready());
    EXPECT_TRUE(QTest::qWaitFor([&] { return server.requestCount() >= 5 && server.inFlight() == 0; }, 5000));
    // Every picture is decided, and each one that arrived has faded in.
    const QList<RemotePicture *> pictures = page.root()->findChildren<RemotePicture *>();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
        return std::all_of(pictures.begin(), pictures.end(),
            [](RemotePicture *p) { return p->done() && (!p->ready() || p->opacity() == 1); });
        },
        20000));
    const QImage image = shot(page, "rows" + suffix);
    EXPECT_TRUE(page.problems().isEmpty()) << qPrintable(page.problems().join('\n'));
    EXPECT_TRUE(kitServices().images()->hasFailed(server.url("/missing.png")));
    EXPECT_FALSE(kitServices().images()->cached(server.url("/poster.webp")).isNull());
    if (!rightToLeft) {
        // The first row's wide red logo, fitted in its 62-by-38 frame.
        const QColor logo = image.pixelColor(20 + 10 + 40 + 12 + 3 + 31, 20 + 28);
        EXPECT_GT(logo.red(), 180);
        EXPECT_LT(logo.green(), 80);
    }
}

INSTANTIATE_TEST_SUITE_P(Directions, KitPages, ::testing::Bool(),
    [](const auto &info) { return std::string(info.param ? "RightToLeft" : "LeftToRight"); });

TEST(KitViews, ArrowTooltipAndTrackingFollowTheLanguage)
{
    // language, back arrow, back tooltip, live badge and section label letter spacing
    const std::tuple<const char *, const char *, const char *, double, double> cases[] = {
        { "en", "chevron.left", "Back", 1, 1.6 },
        { "fr", "chevron.left", "Retour", 1, 1.6 },
        { "ar", "chevron.right", "رجوع", 0, 0 },
    };
    for (const auto &[language, backIcon, backHelp, badgeTracking, labelTracking] : cases) {
        SCOPED_TRACE(language);
        LanguageScope scope { QString::fromLatin1(language) };
        QQmlEngine engine;
        auto back = loadQml(engine, urlOf("BackButton"));
        auto badge = loadQml(engine, urlOf("LiveBadge"));
        auto label = loadQml(engine, urlOf("SectionLabel"), { { "text", "Live channels" } });
        ASSERT_TRUE(back.object && badge.object && label.object);
        EXPECT_EQ(back.object->property("icon").toString(), QLatin1String(backIcon));
        EXPECT_EQ(back.object->property("help").toString(), QString::fromUtf8(backHelp));
        EXPECT_EQ(badge.object->property("tracking").toDouble(), badgeTracking);
        EXPECT_EQ(label.object->property("tracking").toDouble(), labelTracking);
        EXPECT_EQ(label.object->property("shownText").toString(), QStringLiteral("LIVE CHANNELS"));
    }
}

TEST(KitViews, UiTextNeverInterpretsMarkup)
{
    QQmlEngine engine;
    auto load = loadQml(engine, urlOf("UiText"), { { "text", "<b>x</b>" } });
    ASSERT_TRUE(load.object);
    EXPECT_EQ(load.object->property("textFormat").toInt(), 0 /* Text.PlainText */);
}

} // namespace
