#include "GeneratedMedia.h"
#include "QmlHarness.h"
#include "playback/PlayerEngine.h"
#include "playback/VideoSurfaceBinding.h"
#include "playback/engines/GstPlatformPlayer.h"
#include "playback/engines/LibVlcPlayer.h"

#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QTest>
#include <QVideoFrame>
#include <QVideoSink>
#include <QtQml/qqmlextensionplugin.h>
#include <gtest/gtest.h>

Q_IMPORT_QML_PLUGIN(Zelfor_AppPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_KitPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_PlaybackPlugin)

namespace {

struct RectCase {
    const char *name;
    PictureMode mode;
    QSizeF area;
    QSize video;
    QRectF expected;
};

class PictureRect : public ::testing::TestWithParam<RectCase> { };

TEST_P(PictureRect, PlacesThePictureForTheMode)
{
    const RectCase &row = GetParam();
    EXPECT_EQ(VideoSurfaceBinding::pictureRect(row.mode, row.area, row.video), row.expected);
}

INSTANTIATE_TEST_SUITE_P(Table, PictureRect,
    ::testing::Values(
        RectCase { "stretch", PictureMode::stretch, { 1280, 720 }, { 640, 480 }, { 0, 0, 1280, 720 } },
        RectCase { "fitPillarbox", PictureMode::fit, { 1280, 720 }, { 640, 480 }, { 160, 0, 960, 720 } },
        RectCase { "fitLetterbox", PictureMode::fit, { 800, 800 }, { 1600, 900 }, { 0, 175, 800, 450 } },
        RectCase {
            "zoomCropsTopAndBottom", PictureMode::zoom, { 1280, 720 }, { 640, 480 }, { 0, -120, 1280, 960 } },
        RectCase { "noPictureYet", PictureMode::fit, { 1280, 720 }, {}, { 0, 0, 1280, 720 } }),
    [](const auto &info) { return std::string(info.param.name); });

QRectF geometryOf(const QQuickItem *item)
{
    return { item->x(), item->y(), item->width(), item->height() };
}

// The real surface without an engine: frames handed to its sink stand for the platform player's.
TEST(VideoSurfaceView, AModeChangeMovesThePictureOverTimeAndAResizeAtOnce)
{
    WarningCollector warnings;
    QQmlEngine engine;
    engine.addImportPath(QStringLiteral("qrc:/"));
    QmlLoad surface = loadQml(engine, QStringLiteral("qrc:/Zelfor/Playback/VideoSurface.qml"),
        { { "aspectMode", 1 }, { "width", 1280 }, { "height", 720 } });
    ASSERT_TRUE(surface.object) << surface.problems.join('\n').toStdString();
    auto *picture = surface.object->findChild<QQuickItem *>(QStringLiteral("platformPicture"));
    ASSERT_TRUE(picture);
    QVideoSink *sink = picture->property("videoSink").value<QVideoSink *>();
    ASSERT_TRUE(sink);
    EXPECT_EQ(geometryOf(picture), QRectF(0, 0, 1280, 720)) << "no picture yet";
    QList<qreal> widths;
    QObject::connect(picture, &QQuickItem::widthChanged, picture, [&] { widths.append(picture->width()); });
    sink->setVideoFrame(QVideoFrame(QVideoFrameFormat(QSize(640, 480), QVideoFrameFormat::Format_BGRX8888)));
    ASSERT_TRUE(QTest::qWaitFor([&] { return geometryOf(picture) == QRectF(160, 0, 960, 720); }));
    EXPECT_EQ(widths, QList<qreal> { 960 }) << "the first picture takes its place at once";

    widths.clear();
    surface.object->setProperty("aspectMode", 0);
    EXPECT_EQ(geometryOf(picture), QRectF(160, 0, 960, 720)) << "the change starts where the picture stands";
    ASSERT_TRUE(QTest::qWaitFor([&] { return geometryOf(picture) == QRectF(0, 0, 1280, 720); }));
    EXPECT_TRUE(std::any_of(widths.cbegin(), widths.cend(), [](qreal width) {
        return width > 960 && width < 1280;
    })) << "the picture passes through the sizes between";

    widths.clear();
    surface.object->setProperty("aspectMode", 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return geometryOf(picture) == QRectF(160, 0, 960, 720); }));
    widths.clear();
    surface.object->setProperty("width", 800);
    EXPECT_EQ(geometryOf(picture), QRectF(0, 60, 800, 600));
    EXPECT_EQ(widths, QList<qreal> { 800 }) << "a resize is not animated";
    EXPECT_TRUE(warnings.warnings().isEmpty()) << warnings.warnings().join('\n').toStdString();
}

struct DrawnCase {
    const char *name;
    bool onVlc;
    int aspectMode;
    QSize surface;
    QRect picture; // where the clip lands in the surface
};

class SoftwareDrawnPicture : public ::testing::TestWithParam<DrawnCase> { };

// Under the software renderer the playing clip is drawn where the picture mode puts it:
// its green top band on the picture's first rows, black outside the picture.
TEST_P(SoftwareDrawnPicture, ShowsThePlayingClip)
{
    const DrawnCase &row = GetParam();
    GeneratedMedia &media = GeneratedMedia::instance();
    ASSERT_TRUE(media.ok) << media.problem.toStdString();
    std::unique_ptr<EngineRig> rig;
    if (row.onVlc)
        rig = std::make_unique<EngineRig>(
            nullptr, [] { return std::make_unique<LibVlcPlayer>(QStringList { "--aout=adummy" }); });
    else
        rig = std::make_unique<EngineRig>(
            std::make_unique<GstPlatformPlayer>(GstPlatformPlayer::Audio::silent));
    WarningCollector warnings;
    QQmlEngine qml;
    qml.addImportPath(QStringLiteral("qrc:/"));
    QmlLoad surface = loadQml(qml, QStringLiteral("qrc:/Zelfor/Playback/VideoSurface.qml"),
        { { "engine", QVariant::fromValue(rig->engine.get()) }, { "hostsVLC", true },
            { "usesVLC", row.onVlc }, { "aspectMode", row.aspectMode }, { "width", row.surface.width() },
            { "height", row.surface.height() } });
    ASSERT_TRUE(surface.object) << surface.problems.join('\n').toStdString();
    QQuickWindow window;
    ASSERT_EQ(window.rendererInterface()->graphicsApi(), QSGRendererInterface::Software);
    qobject_cast<QQuickItem *>(surface.object.get())->setParentItem(window.contentItem());
    window.resize(row.surface);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    rig->engine->play(servedItem(QStringLiteral("/clip.mp4")));
    if (row.onVlc)
        rig->platform->fail();
    const QPoint band(row.picture.center().x(), row.picture.top() + row.picture.height() * 4 / 120);
    QImage shot;
    const bool drawn = pumpUntil(rig->clock, [&] {
        shot = window.grabWindow();
        const QColor colour = shot.pixelColor(band);
        return colour.green() > 180 && colour.red() < 80 && colour.blue() < 80;
    });
    ASSERT_TRUE(drawn) << "band " << qPrintable(shot.pixelColor(band).name()) << " error "
                       << rig->engine->errorText().toStdString();
    if (row.picture.left() > 0)
        EXPECT_EQ(
            shot.pixelColor(QPoint(row.picture.left() / 2, row.surface.height() / 2)), QColor(Qt::black));
    rig->engine->stop();
    surface.object.reset();
    EXPECT_TRUE(warnings.warnings().isEmpty()) << warnings.warnings().join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Engines, SoftwareDrawnPicture,
    ::testing::Values(DrawnCase { "GStreamerStretched", false, 0, { 320, 180 }, { 0, 0, 320, 180 } },
        DrawnCase { "VlcFitted", true, 1, { 400, 240 }, { 40, 0, 320, 240 } }),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
