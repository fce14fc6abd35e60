#include "GeneratedMedia.h"
#include "QmlHarness.h"
#include "playback/GstPlatformPlayer.h"

#include <QQmlEngine>
#include <QtQml/QQmlExtensionPlugin>

Q_IMPORT_QML_PLUGIN(Zelfor_PlaybackPlugin)

namespace {

QVideoSink *sinkOf(QObject *surface, const char *name)
{
    QObject *output = surface->findChild<QObject *>(QString::fromLatin1(name));
    return output ? output->property("videoSink").value<QVideoSink *>() : nullptr;
}

// The surface on a real engine: GStreamer plays, libVLC is scripted.
TEST(VideoSurfaceTest, ShowsPlatformPictureAndHostsVlcViewOnlyWhenAsked)
{
    GeneratedMedia &media = GeneratedMedia::instance();
    ASSERT_TRUE(media.ok) << media.problem.toStdString();
    EngineRig rig { std::make_unique<GstPlatformPlayer>(GstPlatformPlayer::Audio::silent) };
    rig.host->mode = 2;
    PlayerEngine &engine = *rig.engine;
    const FakeVlcState &vlc = rig.vlc;

    WarningCollector warnings;
    QQmlEngine qml;
    QmlLoad surface = loadQml(qml, QStringLiteral("qrc:/Zelfor/Playback/VideoSurface.qml"),
                              { { "engine", QVariant::fromValue(&engine) }, { "hostsVLC", true },
                                { "usesVLC", false }, { "aspectMode", 2 }, { "width", 1280 }, { "height", 720 } });
    ASSERT_TRUE(surface.object) << surface.problems.join('\n').toStdString();
    QVideoSink *platformSink = sinkOf(surface.object.get(), "platformPicture");
    QVideoSink *vlcSink = sinkOf(surface.object.get(), "vlcPicture");
    ASSERT_TRUE(platformSink && vlcSink);
    EXPECT_FALSE(engine.vlcView()->isHostedBy(vlcSink));
    EXPECT_EQ(surface.object->findChild<QObject *>("platformPicture")->property("fillMode").toInt(),
              int(Qt::KeepAspectRatioByExpanding));

    engine.play(servedItem("/clip.mp4"));
    EXPECT_TRUE(pumpUntil(rig.clock, [&] { return isWholePicture(platformSink->videoFrame()); }));

    // Switching to libVLC moves its view into the surface and applies the picture
    // mode; the platform picture turns black instead of freezing.
    engine.startVLC(QUrl(media.server.url("/clip.mp4")));
    QCoreApplication::sendPostedEvents();
    EXPECT_FALSE(platformSink->videoFrame().isValid());
    surface.object->setProperty("usesVLC", engine.usesVLC());
    EXPECT_TRUE(engine.vlcView()->isHostedBy(vlcSink));
    EXPECT_EQ(vlc.crop, "1280:720");
    QVideoFrame vlcFrame(QVideoFrameFormat(QSize(16, 16), QVideoFrameFormat::Format_BGRX8888));
    engine.vlcView()->output()->present(vlcFrame);
    EXPECT_EQ(vlcSink->videoFrame().size(), QSize(16, 16));
    surface.object->setProperty("width", 800);
    EXPECT_EQ(vlc.crop, "800:720");
    rig.host->mode = 0;
    surface.object->setProperty("aspectMode", 0);
    EXPECT_EQ(vlc.aspect, "800:720");
    EXPECT_EQ(vlc.crop, std::nullopt);
    surface.object->setProperty("usesVLC", false);
    EXPECT_FALSE(engine.vlcView()->isHostedBy(vlcSink));
    EXPECT_FALSE(vlcSink->videoFrame().isValid()) << "a surface keeps no libVLC picture once it leaves";

    // A preview surface never takes the libVLC view.
    surface.object->setProperty("hostsVLC", false);
    surface.object->setProperty("usesVLC", true);
    EXPECT_FALSE(engine.vlcView()->isHostedBy(vlcSink));

    surface.object.reset();
    EXPECT_EQ(engine.platformOutput()->sinkCount(), 0);
    EXPECT_TRUE(warnings.warnings().isEmpty()) << warnings.warnings().join('\n').toStdString();
}

}
