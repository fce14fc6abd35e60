#include "QmlHarness.h"
#include "app/AppState.h"
#include "app/ChoiceDialog.h"
#include "app/Localization.h"

#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QSGRendererInterface>
#include <QtQml/qqmlextensionplugin.h>
#include <QTest>
#include <gtest/gtest.h>

Q_IMPORT_QML_PLUGIN(Zelfor_KitPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_AppPlugin)

namespace {

struct Shot {
    QImage image;
    QColor leftOfPrimary;
    QColor rightOfPrimary;
    bool shaders = false;
};

// Renders the gallery page; ZELFOR_KIT_SHOTS names a folder that receives the images.
Shot renderGallery(bool rightToLeft, QStringList &problems)
{
    WarningCollector collector;
    auto dialog = std::make_unique<ChoiceDialogModel>(QStringLiteral("Sort by"),
        QStringList { QStringLiteral("Newest first"), QStringLiteral("A to Z"), QStringLiteral("Z to A") }, 1,
        [](int) {});
    ChoiceDialogModel *model = dialog.get();
    AppState::shared()->setDialog(std::move(dialog));
    QQuickView view;
    // The static modules' qmldir files live in the resources.
    view.engine()->addImportPath(QStringLiteral("qrc:/"));
    view.setInitialProperties({ { "rightToLeft", rightToLeft }, { "dialogModel", QVariant::fromValue(model) } });
    view.setSource(QUrl::fromLocalFile(QStringLiteral(ZELFOR_SOURCE_DIR "/tests/kit/gallery/Gallery.qml")));
    view.show();
    if (!QTest::qWaitForWindowExposed(&view))
        return {};
    QTest::qWait(200);
    Shot shot;
    shot.image = view.grabWindow();
    AppState::shared()->closeDialog();
    shot.shaders = view.rendererInterface()->graphicsApi() != QSGRendererInterface::Software;
    if (auto *button = view.rootObject()->findChild<QQuickItem *>(QStringLiteral("primaryButton"))) {
        const qreal middle = button->height() / 2;
        shot.leftOfPrimary = shot.image.pixelColor(button->mapToScene(QPointF(10, middle)).toPoint());
        shot.rightOfPrimary = shot.image.pixelColor(button->mapToScene(QPointF(button->width() - 10, middle)).toPoint());
    }
    for (const QQmlError &error : view.errors())
        problems.append(error.toString());
    problems.append(collector.warnings());
    const QByteArray folder = qgetenv("ZELFOR_KIT_SHOTS");
    if (!folder.isEmpty())
        shot.image.save(QString::fromLocal8Bit(folder) + (rightToLeft ? "/kit-gallery-ar.png" : "/kit-gallery-en.png"));
    return shot;
}

class KitGallery : public ::testing::TestWithParam<bool> {};

TEST_P(KitGallery, RendersWithoutWarnings)
{
    setActiveLanguage(GetParam() ? QStringLiteral("ar") : QStringLiteral("en"));
    QStringList problems;
    const Shot shot = renderGallery(GetParam(), problems);
    const QImage &image = shot.image;
    setActiveLanguage(QStringLiteral("en"));
    ASSERT_FALSE(image.isNull());
    EXPECT_TRUE(problems.isEmpty()) << qPrintable(problems.join('\n'));
    // The backdrop is the dark base colour far from both glows.
    const QColor corner = image.pixelColor(image.width() / 2, image.height() - 2);
    EXPECT_LT(corner.red(), 40);
    EXPECT_LT(corner.green(), 60);
    // A primary button starts violet on the left, and with shader effects ends cyan
    // on the right, in both directions.
    EXPECT_GT(shot.leftOfPrimary.blue(), 180);
    EXPECT_GT(shot.leftOfPrimary.red(), shot.leftOfPrimary.green());
    if (shot.shaders)
        EXPECT_GT(shot.rightOfPrimary.green(), shot.rightOfPrimary.red());
}

INSTANTIATE_TEST_SUITE_P(Directions, KitGallery, ::testing::Values(false, true),
    [](const auto &info) { return std::string(info.param ? "RightToLeft" : "LeftToRight"); });

} // namespace
