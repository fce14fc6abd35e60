#include "kit/RowEdits.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

namespace {

std::vector<qint32> applied(std::vector<qint32> rows, const std::vector<qint32> &to)
{
    for (const RowEdit &edit : rowEdits(rows, to))
        applyRowEdit(rows, edit, to);
    return rows;
}

struct EditCase {
    const char *name;
    std::vector<qint32> from;
    std::vector<qint32> to;
    std::vector<RowEdit> edits;
};

void PrintTo(const EditCase &editCase, std::ostream *out)
{
    *out << editCase.name;
}

using Kind = RowEdit::Kind;

const EditCase kEditCases[] = {
    { "Same", { 1, 2, 3 }, { 1, 2, 3 }, {} },
    { "NarrowedKeepsTheRowsThatStay", { 1, 2, 3, 4, 5 }, { 2, 4 },
        { { Kind::remove, 4, 4 }, { Kind::remove, 2, 2 }, { Kind::remove, 0, 0 } } },
    { "WidenedInsertsRuns", { 2, 4 }, { 1, 2, 3, 4, 5 },
        { { Kind::insert, 0, 0 }, { Kind::insert, 2, 2 }, { Kind::insert, 4, 4 } } },
    { "FromNothing", {}, { 7, 8 }, { { Kind::insert, 0, 1 } } },
    { "ToNothing", { 7, 8 }, {}, { { Kind::remove, 0, 1 } } },
    { "MovedUp", { 1, 2, 3 }, { 3, 1, 2 }, { { Kind::move, 2, 0 } } },
    { "RepeatsInTheOldRowsGo", { 1, 1, 2 }, { 1, 2 }, { { Kind::move, 2, 1 }, { Kind::remove, 2, 2 } } },
};

class RowEditCases : public ::testing::TestWithParam<EditCase> { };

TEST_P(RowEditCases, AreTheFewestStepsOfEachKind)
{
    EXPECT_EQ(rowEdits(GetParam().from, GetParam().to), GetParam().edits);
    EXPECT_EQ(applied(GetParam().from, GetParam().to), GetParam().to);
}

INSTANTIATE_TEST_SUITE_P(Table, RowEditCases, ::testing::ValuesIn(kEditCases),
    [](const ::testing::TestParamInfo<EditCase> &info) { return std::string(info.param.name); });

// Random subsets of 0..29 in random orders: every step names rows that exist when it is
// applied, and the steps end at the target.
TEST(RowEdits, TurnAnyListIntoAnyOther)
{
    std::mt19937 random(11);
    std::vector<qint32> all(30);
    std::iota(all.begin(), all.end(), 0);
    const auto pick = [&] {
        std::shuffle(all.begin(), all.end(), random);
        return std::vector<qint32>(
            all.begin(), all.begin() + std::uniform_int_distribution<int>(0, 30)(random));
    };
    for (int round = 0; round < 500; ++round) {
        std::vector<qint32> rows = pick();
        const std::vector<qint32> to = pick();
        for (const RowEdit &edit : rowEdits(rows, to)) {
            const int size = int(rows.size());
            const bool valid = edit.kind == Kind::insert
                ? edit.first >= 0 && edit.first <= size && edit.first <= edit.last
                : edit.kind == Kind::remove ? edit.first >= 0 && edit.first <= edit.last && edit.last < size
                                            : edit.last >= 0 && edit.last < edit.first && edit.first < size;
            ASSERT_TRUE(valid) << "round " << round;
            applyRowEdit(rows, edit, to);
        }
        ASSERT_EQ(rows, to) << "round " << round;
    }
}

} // namespace
