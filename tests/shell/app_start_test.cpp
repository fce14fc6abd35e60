#include "../kit/KitTestSupport.h"
#include "kit/Theme.h"
#include "shell/AppStart.h"
#include "shell/Services.h"

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQuickWindow>
#include <QThread>
#include <QtConcurrent>
#include <gst/gst.h>
#include <gtest/gtest.h>
#include <QtQml/qqmlextensionplugin.h>
#include <malloc.h>

#include <algorithm>
#include <barrier>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

Q_IMPORT_QML_PLUGIN(Zelfor_AppPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_KitPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_PlaybackPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_VodPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_HomePlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_LivePlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_ShellPlugin)

namespace {

// Each case runs in a process of its own, so nothing earlier has started GStreamer.
class AppStartTest : public ::testing::Test {
protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

TEST_F(AppStartTest, TheProgramsEngineLeavesGStreamerAloneUntilItsFirstItem)
{
    EXPECT_EXIT(
        {
            const Services services;
            std::_Exit(gst_is_initialized() ? 1 : 0);
        },
        ::testing::ExitedWithCode(0), "");
}

// Heaps as malloc_info lists them.
int heapCount()
{
    char *text = nullptr;
    std::size_t size = 0;
    FILE *out = open_memstream(&text, &size);
    malloc_info(0, out);
    std::fclose(out);
    const int count = QByteArray(text, qsizetype(size)).count("<heap nr=");
    std::free(text);
    return count;
}

TEST_F(AppStartTest, WorkerThreadsShareTwoHeaps)
{
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
    GTEST_SKIP() << "the sanitizer's allocator stands in for glibc's";
#endif
#endif
    EXPECT_EXIT(
        {
            shareHeapsBetweenThreads();
            const int before = heapCount();
            // Threads allocating at once, each of which would otherwise get a heap of its own.
            std::barrier allStarted(8);
            std::vector<std::jthread> workers;
            for (int i = 0; i < 8; ++i) {
                workers.emplace_back([&allStarted] {
                    void *block = std::malloc(256);
                    asm volatile("" : : "r"(block) : "memory");
                    allStarted.arrive_and_wait();
                    std::free(block);
                });
            }
            workers.clear();
            std::_Exit(heapCount() <= std::max(before, 2) ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(AppStartTest, EndingTheProcessLetsADiskWriteInFlightFinish)
{
    // A name both processes know: the case runs again in the child, which makes its own folders.
    const QString path = QDir::temp().filePath(QStringLiteral("zelfor-end-process-write"));
    QFile::remove(path);
    EXPECT_EXIT(
        {
            QThreadPool::globalInstance()->start([path] {
                QThread::msleep(300);
                QFile file(path);
                file.open(QIODevice::WriteOnly);
                file.write("kept");
            });
            Services services;
            endProcess(7, services);
        },
        ::testing::ExitedWithCode(7), "");
    QFile written(path);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), "kept");
    written.remove();
}

bool allPixelsAre(const QImage &image, QColor colour)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y).rgb() != colour.rgb())
                return false;
        }
    }
    return true;
}

// The first frame waits for no view, shader or font: it shows the window's colour alone,
// and the splash, in the interface fonts, follows it.
TEST_F(AppStartTest, TheFirstFrameShowsTheWindowColourAndTheSplashFollows)
{
    EXPECT_EXIT(
        {
            qputenv("ZELFOR_SERVER", "http://127.0.0.1:9");
            Services services;
            prepareApplication(*qGuiApp, services);
            QQmlApplicationEngine engine;
            loadRootView(engine, services);
            auto *window = qobject_cast<QQuickWindow *>(engine.rootObjects().value(0));
            if (!window || !allPixelsAre(window->grabWindow(), Theme::bg()))
                std::_Exit(1);
            if (!QTest::qWaitFor(
                    [window] { return itemNamed(window->contentItem(), QStringLiteral("versionLine")); }))
                std::_Exit(2);
            if (allPixelsAre(window->grabWindow(), Theme::bg()))
                std::_Exit(3);
            std::_Exit(QFontDatabase::applicationFontFamilies(0).isEmpty() ? 4 : 0);
        },
        ::testing::ExitedWithCode(0), "");
}

} // namespace
