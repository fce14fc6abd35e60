#include "playback/PlayerEngine.h"
#include "shell/AppStart.h"

#include <QDir>
#include <QFile>
#include <QThread>
#include <QtConcurrent>
#include <gst/gst.h>
#include <gtest/gtest.h>

namespace {

// Each case runs in a process of its own, so nothing earlier has started GStreamer.
class AppStartTest : public ::testing::Test {
protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

TEST_F(AppStartTest, TheSharedEngineLeavesGStreamerAloneUntilItsFirstItem)
{
    EXPECT_EXIT(
        {
            PlayerEngine::shared();
            std::_Exit(gst_is_initialized() ? 1 : 0);
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
            endProcess(7);
        },
        ::testing::ExitedWithCode(7), "");
    QFile written(path);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), "kept");
    written.remove();
}

} // namespace
