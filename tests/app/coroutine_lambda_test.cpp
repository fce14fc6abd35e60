#include "RunTask.h"

#include <QCoroTimer>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace {

struct Counted {
    static inline int alive = 0;
    static inline int destroyed = 0;
    Counted() { ++alive; }
    Counted(const Counted &) { ++alive; }
    Counted(Counted &&) noexcept { ++alive; }
    ~Counted()
    {
        --alive;
        ++destroyed;
    }
};

QCoro::Task<int> callLater(std::function<int()> work)
{
    QTimer timer;
    timer.setSingleShot(true);
    timer.start(1);
    co_await timer;
    co_return work();
}

QCoro::Task<int> awaitCapturingTemporary()
{
    Counted guard;
    // The lambda temporary lives inside the co_await expression; a miscompiling
    // compiler destroys its capture twice.
    const int value = co_await callLater([guard, seven = 7] { return seven; });
    co_return value;
}

} // namespace

TEST(CoroutineLambda, CapturingTemporaryInsideCoAwaitIsDestroyedOnce)
{
    Counted::alive = 0;
    Counted::destroyed = 0;
    EXPECT_EQ(runTask(awaitCapturingTemporary()), 7);
    EXPECT_EQ(Counted::alive, 0);
    EXPECT_GT(Counted::destroyed, 0);
}
