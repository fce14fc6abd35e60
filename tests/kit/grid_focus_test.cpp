#include "../app/AppStateFixture.h"
#include "kit/GridFocus.h"

#include <gtest/gtest.h>

namespace {

struct GridStep {
    int from;
    char key; // U D L R, or another key
    int count;
    std::optional<int> to;
};

// Three columns; with seven cells the last row holds one.
TEST(GridFocus, ArrowsStayInsideTheCells)
{
    const GridStep steps[] = {
        { -1, 'U', 7, 0 },
        { -1, 'R', 7, 0 },
        { -1, 'D', 0, 0 },
        { -1, 'U', 0, -1 },
        { 1, 'U', 7, 1 },
        { 4, 'U', 7, 1 },
        { 4, 'D', 7, 6 },
        { 5, 'D', 7, 6 },
        { 6, 'D', 7, 6 },
        { 0, 'L', 7, 0 },
        { 3, 'L', 7, 2 },
        { 2, 'R', 7, 3 },
        { 6, 'R', 7, 6 },
        { 2, 'E', 7, std::nullopt },
        { -1, 'T', 7, std::nullopt },
        { 2, '[', 7, std::nullopt },
    };
    for (const GridStep &step : steps)
        EXPECT_EQ(
            gridFocusMove(step.from, keys(QByteArray(1, step.key).constData()).first().kind, 3, step.count),
            step.to)
            << step.from << ' ' << step.key << ' ' << step.count;
}

} // namespace
