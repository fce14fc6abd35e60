#include "RunTask.h"

#include <QCoroTimer>
#include <gtest/gtest.h>

#include <functional>

namespace {

// Counts live copies: a double destruction leaves it below zero.
struct Counted {
    static inline int alive = 0;
    Counted() { ++alive; }
    Counted(const Counted &) { ++alive; }
    ~Counted() { --alive; }
};

QCoro::Task<int> callLater(std::function<int()> work)
{
    co_await QCoro::sleepFor(std::chrono::milliseconds(1));
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
    EXPECT_EQ(runTask(awaitCapturingTemporary()), 7);
    EXPECT_EQ(Counted::alive, 0);
}
