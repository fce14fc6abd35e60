#include "app/SingleInstance.h"

#include <QLockFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

class SingleInstanceTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString lockPath() const { return dir.filePath(QStringLiteral("zelfor.lock")); }
    QString socketPath() const { return dir.filePath(QStringLiteral("zelfor.socket")); }
    std::unique_ptr<SingleInstance> launch() const
    {
        return std::make_unique<SingleInstance>(lockPath(), socketPath(), 500ms);
    }
};

TEST_F(SingleInstanceTest, SecondLaunchAsksTheRunningCopyToComeToTheFront)
{
    const auto first = launch();
    QSignalSpy activations(first.get(), &SingleInstance::activationRequested);
    ASSERT_EQ(first->start(), SingleInstance::Role::primary);
    EXPECT_EQ(launch()->start(), SingleInstance::Role::handedOver);
    EXPECT_TRUE(activations.wait(2000));
    EXPECT_EQ(launch()->start(), SingleInstance::Role::handedOver);
    EXPECT_TRUE(activations.wait(2000));
    EXPECT_EQ(activations.count(), 2);
}

TEST_F(SingleInstanceTest, ACopyThatEndedLeavesTheNextLaunchFirst)
{
    launch()->start();
    // A socket file left behind by a copy that was killed does not stop the next one.
    QFile leftover(socketPath());
    if (!leftover.exists())
        ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
    const auto next = launch();
    EXPECT_EQ(next->start(), SingleInstance::Role::primary);
}

TEST_F(SingleInstanceTest, ALockedCopyThatDoesNotAnswerEndsTheLaunch)
{
    QLockFile held(lockPath());
    ASSERT_TRUE(held.tryLock(0));
    EXPECT_EQ(launch()->start(), SingleInstance::Role::unreachable);
}

} // namespace
