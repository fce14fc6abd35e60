#pragma once

#include "ListOfSize.h"
#include "ReadBytes.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QtConcurrent/QtConcurrentMap>

#include <simdjson.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <functional>
#include <new>
#include <numeric>
#include <optional>
#include <vector>

// A big top-level JSON array read in pieces of whole elements, each piece parsed on a
// worker thread by a parser that the worker keeps for all its pieces: small parsers stay
// in the cache and their memory is touched once, which makes a 70 MB list parse several
// times faster than one parser over the whole text.

// Where the array may be cut: for every `pieceBytes` of text, the first comma after it
// that stands between a "}" and a "{" (white space allowed around it). A cut is a guess:
// it may fall inside a string or a nested value, which readArrayPieces finds out.
std::vector<qsizetype> arrayCuts(QByteArrayView body, qsizetype pieceBytes);

enum class PiecesOutcome {
    read, // every piece was read
    notArray, // without cuts: JSON whose top level is not an array
    notJson, // without cuts: not JSON
    badCut, // with cuts: a piece is not an array, so a cut may be misplaced
};

// Called with the index of a piece (in body order), the index of the worker that parsed it
// (below idealThreadCount) and the piece's elements; called concurrently for different pieces.
using PieceReader = std::function<void(std::size_t piece, std::size_t worker, simdjson::dom::array elements)>;

// Reads the pieces between the cuts, each piece wrapped as an array ("[" ... "]").
// Without cuts the body is one piece, read as it is. With cuts, `read` is true only when
// every piece is a JSON array: the pieces' elements are then exactly the elements of the
// whole array, in order, because each cut was proven to fall between two elements of
// the top level. badCut says nothing about the whole body; the caller reads it again
// without cuts. With `giveBack` each piece's bytes are given back once copied out.
PiecesOutcome readArrayPieces(const QByteArray &body, const std::vector<qsizetype> &cuts,
    const PieceReader &read, ReadBytes after = ReadBytes::keep);

// The number of worker threads readArrayPieces uses at most.
std::size_t pieceWorkerCount();

// Calls each(object) for the elements that are objects which `keeps` accepts, in order.
template <typename Keeps, typename Each>
void forKeptObjects(simdjson::dom::array elements, const Keeps &keeps, Each each)
{
    for (const simdjson::dom::element value : elements) {
        simdjson::dom::object object;
        if (value.get_object().get(object) == simdjson::SUCCESS && keeps(object))
            each(object);
    }
}

// The entries of a long list read in pieces on worker threads, twice: first to count the
// entries of each piece, then to make every entry straight in its final place.
// `keeps(object)` tells which objects make an entry; `fill(entry, object, index, worker)`
// makes the entry at `index`. Nothing when the body could not be cut or a cut was wrong;
// the body is given back, if `after` says so, only once every cut is known to be right.
template <typename Entry, typename Keeps, typename Fill>
std::optional<QList<Entry>> readEntriesInPieces(const QByteArray &body, qsizetype pieceBytes,
    const Keeps &keeps, const Fill &fill, ReadBytes after = ReadBytes::keep)
{
    const std::vector<qsizetype> cuts = arrayCuts(body, pieceBytes);
    if (cuts.empty())
        return std::nullopt;
    std::vector<qsizetype> starts(cuts.size() + 1);
    const auto count = [&](std::size_t piece, std::size_t, simdjson::dom::array elements) {
        forKeptObjects(elements, keeps, [&](simdjson::dom::object) { ++starts[piece]; });
    };
    if (readArrayPieces(body, cuts, count) != PiecesOutcome::read)
        return std::nullopt;
    const qsizetype total = std::reduce(starts.begin(), starts.end(), qsizetype(0));
    std::exclusive_scan(starts.begin(), starts.end(), starts.begin(), qsizetype(0));
    QList<Entry> entries = listOfSize<Entry>(total);
    Entry *out = entries.data();
    const auto make = [&](std::size_t piece, std::size_t worker, simdjson::dom::array elements) {
        qsizetype at = starts[piece];
        forKeptObjects(elements, keeps, [&](simdjson::dom::object object) {
            fill(out[at], object, at, worker);
            ++at;
        });
    };
    // The same pieces read the same way twice; a failure now is no wrong cut.
    if (readArrayPieces(body, cuts, make, after) != PiecesOutcome::read)
        throw std::bad_alloc();
    return entries;
}
