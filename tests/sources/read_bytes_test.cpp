#include "sources/ReadBytes.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

// Only the whole pages inside the range read as zeros afterwards; the bytes around them,
// which a neighbouring reader may still use, keep their value.
TEST(ReadBytes, GivesBackOnlyTheWholePagesInside)
{
    const qsizetype page = qsizetype(sysconf(_SC_PAGESIZE));
    struct Case {
        qsizetype offset;
        qsizetype size;
        qsizetype zeroFrom;
        qsizetype zeroTo;
    };
    const Case cases[] = {
        { 0, 2 * page, 0, 2 * page }, // whole pages
        { 1, 3 * page - 2, page, 2 * page }, // both ends inside pages
        { 0, 2 * page - 1, 0, page }, // one byte short of the second page
        { page - 10, 20, 0, 0 }, // across a page boundary, less than a page
        { page, page, page, 2 * page }, // one page
        { 5, 0, 0, 0 }, // nothing
    };
    std::vector<char> storage(std::size_t(6 * page));
    const std::uintptr_t start = std::uintptr_t(storage.data());
    char *const base
        = storage.data() + ((std::uintptr_t(page) - start % std::uintptr_t(page)) % std::uintptr_t(page));
    const qsizetype span = 4 * page;
    for (const Case &row : cases) {
        SCOPED_TRACE(testing::Message() << row.offset << "+" << row.size);
        std::fill(base, base + span, 'x');
        givePagesBack(QByteArrayView(base + row.offset, row.size));
        qsizetype wrong = 0;
        for (qsizetype i = 0; i < span; ++i)
            wrong += base[i] != (i >= row.zeroFrom && i < row.zeroTo ? '\0' : 'x');
        EXPECT_EQ(wrong, 0);
    }
}

TEST(ReadBytes, GivenBackOnlyWhenNoOneElseHoldsTheBytes)
{
    const QByteArray held(8192, 'x');
    const QByteArray shared = held;
    const std::pair<QByteArray, ReadBytes> cases[] = {
        { QByteArray(8192, 'x'), ReadBytes::giveBack },
        { shared, ReadBytes::keep },
        { QByteArray::fromRawData(held.constData(), held.size()), ReadBytes::keep },
        { QByteArray(), ReadBytes::keep },
    };
    for (std::size_t row = 0; row < std::size(cases); ++row)
        EXPECT_EQ(readBytesOf(cases[row].first), cases[row].second) << row;
}

} // namespace
