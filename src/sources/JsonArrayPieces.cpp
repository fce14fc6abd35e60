#include "JsonArrayPieces.h"

#include "model/Lenient.h"

#include <QThread>
#include <QtConcurrent/QtConcurrentMap>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <mutex>
#include <numeric>

namespace {

bool isJsonSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

qsizetype skipSpace(QByteArrayView text, qsizetype at)
{
    while (at < text.size() && isJsonSpace(text[at]))
        ++at;
    return at;
}

// The comma of the first "}" "," "{" (white space allowed around the comma) at or after
// `from`; -1 when there is none.
qsizetype nextCut(QByteArrayView body, qsizetype from)
{
    for (qsizetype at = from; at < body.size(); ++at) {
        const void *brace = std::memchr(body.data() + at, '}', std::size_t(body.size() - at));
        if (!brace)
            return -1;
        at = static_cast<const char *>(brace) - body.data();
        const qsizetype comma = skipSpace(body, at + 1);
        if (comma == body.size() || body[comma] != ',')
            continue;
        const qsizetype next = skipSpace(body, comma + 1);
        if (next < body.size() && body[next] == '{')
            return comma;
    }
    return -1;
}

// The bytes of one piece: from just after the cut before it to its own cut.
QByteArrayView pieceBytes(const QByteArray &body, const std::vector<qsizetype> &cuts, std::size_t piece)
{
    const qsizetype begin = piece == 0 ? 0 : cuts[piece - 1] + 1;
    const qsizetype end = piece == cuts.size() ? body.size() : cuts[piece];
    return QByteArrayView(body).sliced(begin, end - begin);
}

// The text of one piece as an array of its own; `text` keeps its room between pieces.
void wrapPiece(QByteArrayView bytes, bool first, bool last, QByteArray &text)
{
    text.resize(0);
    text.reserve(bytes.size() + 2 + qsizetype(simdjson::SIMDJSON_PADDING));
    if (!first)
        text.append('[');
    text.append(bytes);
    if (!last)
        text.append(']');
}

std::optional<simdjson::dom::array> arrayOf(
    simdjson::dom::parser &parser, const QByteArray &text, bool *isJson)
{
    const auto root = parseJson(parser, text);
    *isJson = root.has_value();
    simdjson::dom::array array;
    if (!root || root->get_array().get(array) != simdjson::SUCCESS)
        return std::nullopt;
    return array;
}

// Gives back the body from its start as far as every piece has been copied out, a few
// megabytes at a time: each give-back stalls every thread of the process a moment.
class CopiedFront {
public:
    CopiedFront(const QByteArray &body, const std::vector<qsizetype> &cuts, ReadBytes after)
        : m_body(body)
        , m_cuts(cuts)
        , m_copied(after == ReadBytes::giveBack ? cuts.size() + 1 : 0, false)
    {
    }

    void copied(std::size_t piece)
    {
        if (m_copied.empty())
            return;
        QByteArrayView done;
        {
            const std::lock_guard lock(m_mutex);
            m_copied[piece] = true;
            while (m_front < m_copied.size() && m_copied[m_front])
                ++m_front;
            const bool all = m_front == m_copied.size();
            const qsizetype end = all ? m_body.size()
                                      : pieceBytes(m_body, m_cuts, m_front).data() - m_body.data();
            if (end - m_given < kStepBytes && !all)
                return;
            done = QByteArrayView(m_body).sliced(m_given, end - m_given);
            m_given = end;
        }
        givePagesBack(done);
    }

private:
    static constexpr qsizetype kStepBytes = 4 * 1024 * 1024;

    const QByteArray &m_body;
    const std::vector<qsizetype> &m_cuts;
    std::mutex m_mutex;
    std::vector<bool> m_copied;
    std::size_t m_front = 0;
    qsizetype m_given = 0;
};

PiecesOutcome readWhole(const QByteArray &body, const PieceReader &read)
{
    simdjson::dom::parser parser;
    bool isJson = false;
    const auto array = arrayOf(parser, body, &isJson);
    if (!array)
        return isJson ? PiecesOutcome::notArray : PiecesOutcome::notJson;
    read(0, 0, *array);
    return PiecesOutcome::read;
}

} // namespace

std::vector<qsizetype> arrayCuts(QByteArrayView body, qsizetype pieceBytes)
{
    std::vector<qsizetype> cuts;
    for (qsizetype from = pieceBytes; pieceBytes > 0 && from < body.size(); from = cuts.back() + pieceBytes) {
        const qsizetype cut = nextCut(body, from);
        if (cut < 0)
            break;
        cuts.push_back(cut);
    }
    return cuts;
}

std::size_t pieceWorkerCount()
{
    return std::size_t(std::max(1, QThread::idealThreadCount()));
}

PiecesOutcome readArrayPieces(
    const QByteArray &body, const std::vector<qsizetype> &cuts, const PieceReader &read, ReadBytes after)
{
    if (cuts.empty())
        return readWhole(body, read);
    const std::size_t pieces = cuts.size() + 1;
    std::atomic<std::size_t> nextPiece = 0;
    std::atomic<bool> failed = false;
    CopiedFront front(body, cuts, after);
    const auto work = [&](std::size_t worker) {
        simdjson::dom::parser parser;
        QByteArray text;
        bool isJson = false;
        for (std::size_t piece = nextPiece++; piece < pieces && !failed; piece = nextPiece++) {
            wrapPiece(pieceBytes(body, cuts, piece), piece == 0, piece == cuts.size(), text);
            front.copied(piece);
            const auto array = arrayOf(parser, text, &isJson);
            if (!array) {
                failed = true;
                return;
            }
            read(piece, worker, *array);
        }
    };
    std::vector<std::size_t> workers(std::min(pieces, pieceWorkerCount()));
    std::iota(workers.begin(), workers.end(), std::size_t(0));
    QtConcurrent::blockingMap(workers, work);
    return failed ? PiecesOutcome::badCut : PiecesOutcome::read;
}
