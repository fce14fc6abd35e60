#include "playback/PlayerEngine.h"
#include "shell/AppStart.h"

#include <QDir>
#include <QFile>
#include <QThread>
#include <QtConcurrent>
#include <gst/gst.h>
#include <gtest/gtest.h>
#include <malloc.h>

#include <cstdlib>
#include <cstring>

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

// A freed 8 MiB block would let the next 4 MiB one come from the heap, where its pages
// outlive it.
TEST_F(AppStartTest, BigBlocksStayMappedAfterABiggerOneIsFreed)
{
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
    GTEST_SKIP() << "the sanitizer's allocator stands in for glibc's";
#endif
#endif
    EXPECT_EXIT(
        {
            mapBigBlocksApart();
            const auto touched = [](std::size_t size) {
                void *block = std::malloc(size);
                std::memset(block, 1, size);
                asm volatile("" : : "r"(block) : "memory");
                return block;
            };
            std::free(touched(8u << 20));
            const std::size_t mappedBefore = mallinfo2().hblkhd;
            void *block = touched(4u << 20);
            const bool mapped = mallinfo2().hblkhd >= mappedBefore + (4u << 20);
            std::free(block);
            std::_Exit(mapped ? 0 : 1);
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
