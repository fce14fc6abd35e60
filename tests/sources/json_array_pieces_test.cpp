#include "sources/JsonArrayPieces.h"

#include <gtest/gtest.h>

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace {

using Elements = std::vector<std::string>;

struct Reading {
    PiecesOutcome outcome;
    Elements elements; // every element in minified form, in piece order
};

Reading readWithCuts(const QByteArray &body, const std::vector<qsizetype> &cuts)
{
    std::mutex lock;
    std::map<std::size_t, Elements> byPiece;
    const PiecesOutcome outcome = readArrayPieces(body, cuts,
        [&](std::size_t piece, std::size_t worker, simdjson::dom::array array) {
        EXPECT_LT(worker, pieceWorkerCount());
        Elements elements;
        for (const simdjson::dom::element element : array)
            elements.push_back(simdjson::minify(element));
        const std::lock_guard guard(lock);
        EXPECT_FALSE(byPiece.contains(piece)) << "piece read twice";
        byPiece[piece] = std::move(elements);
    });
    Reading reading { outcome, {} };
    for (auto &[piece, elements] : byPiece)
        reading.elements.insert(reading.elements.end(), elements.begin(), elements.end());
    if (outcome == PiecesOutcome::read)
        EXPECT_EQ(byPiece.size(), cuts.size() + 1);
    return reading;
}

TEST(ArrayCuts, FallOnCommasBetweenObjectsAfterEachStretch)
{
    const QByteArray body = R"([{"a":1}, {"b":[2,3]} ,
{"c":{"d":4}},{"e":5}])";
    EXPECT_EQ(arrayCuts(body, 1), (std::vector<qsizetype> { 8, 22, 37 }));
    EXPECT_EQ(arrayCuts(body, 20), (std::vector<qsizetype> { 22 }));
    EXPECT_TRUE(arrayCuts(body, body.size()).empty());
    EXPECT_TRUE(arrayCuts("[1,2,3,4,5,6]", 1).empty());
    EXPECT_TRUE(arrayCuts(body, 0).empty());
}

// Whatever the stretch between cuts, the pieces either give exactly the whole array's
// elements or say that a cut went wrong, never other elements.
TEST(ArrayPieces, GiveTheWholeArraysElementsOrABadCut)
{
    const std::pair<const char *, PiecesOutcome> cases[] = {
        { R"([{"a":1},{"b":"x"},{"c":null},{"d":[1,{"e":2}]}])", PiecesOutcome::read },
        { "\xEF\xBB\xBF [ {\"a\":1} ,\n\t{\"b\":2}\r\n,{\"c\":3} ]\n", PiecesOutcome::read },
        { R"([{"a":1},"text",{"b":2},7,{"c":3},[{"d":4},{"e":5}],{"f":6},{"g":7}])", PiecesOutcome::read },
        { R"([{"a":1e400},{"b":18446744073709551616},{"c":-1e999}])", PiecesOutcome::read },
        // texts and nesting that look like cut places: some cuts may be bad
        { R"([{"a":"x},{y"},{"b":"},{"},{"c":"\"},{\""}])", PiecesOutcome::read },
        { R"([{"a":[{"x":1},{"y":2}]},{"b":{"c":[{},{}]}}])", PiecesOutcome::read },
        { R"([{"a":1},{"b":2},{"c":tru}])", PiecesOutcome::notJson },
        { R"([{"a":1},{"b":2},{"c":3})", PiecesOutcome::notJson },
        { R"([{"a":1},{"b":2}] x)", PiecesOutcome::notJson },
        { R"([{"a":1}],[{"b":2}])", PiecesOutcome::notJson },
        { R"({"a":[{"x":1},{"y":2}],"b":{}})", PiecesOutcome::notArray },
        { R"({"a":1},{"b":2})", PiecesOutcome::notJson },
    };
    for (std::size_t row = 0; row < std::size(cases); ++row) {
        const QByteArray body(cases[row].first);
        SCOPED_TRACE(body.constData());
        const Reading whole = readWithCuts(body, {});
        ASSERT_EQ(whole.outcome, cases[row].second);
        int cutReadings = 0;
        for (qsizetype stretch = 1; stretch < body.size(); ++stretch) {
            const std::vector<qsizetype> cuts = arrayCuts(body, stretch);
            if (cuts.empty())
                continue;
            SCOPED_TRACE(stretch);
            const Reading pieces = readWithCuts(body, cuts);
            if (pieces.outcome == PiecesOutcome::read) {
                ++cutReadings;
                EXPECT_EQ(whole.outcome, PiecesOutcome::read);
                EXPECT_EQ(pieces.elements, whole.elements);
            } else {
                EXPECT_EQ(pieces.outcome, PiecesOutcome::badCut);
            }
        }
        if (row < 4)
            EXPECT_GT(cutReadings, 0);
    }
}

} // namespace
