#include "HostileAnswers.h"

#include <zlib.h>

#include <memory>

namespace {

// The gzip form of `size` zero bytes, deflated in pieces so the zeros never sit in memory.
QByteArray gzippedZeros(qint64 size)
{
    z_stream stream {};
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, 15 + 16, 9, Z_DEFAULT_STRATEGY);
    QByteArray zeros(1024 * 1024, '\0');
    QByteArray out;
    QByteArray buffer(64 * 1024, '\0');
    qint64 left = size;
    int flush = Z_NO_FLUSH;
    while (flush != Z_FINISH) {
        const qint64 take = std::min<qint64>(left, zeros.size());
        left -= take;
        flush = left == 0 ? Z_FINISH : Z_NO_FLUSH;
        stream.next_in = reinterpret_cast<Bytef *>(zeros.data());
        stream.avail_in = uInt(take);
        do {
            stream.next_out = reinterpret_cast<Bytef *>(buffer.data());
            stream.avail_out = uInt(buffer.size());
            deflate(&stream, flush);
            out.append(buffer.constData(), buffer.size() - qsizetype(stream.avail_out));
        } while (stream.avail_out == 0);
    }
    deflateEnd(&stream);
    return out;
}

// Gives `body` in pieces of `size` bytes, then nothing.
std::function<QByteArray()> piecesOf(const QByteArray &body, qsizetype size)
{
    auto at = std::make_shared<qsizetype>(0);
    return [body, size, at] {
        const QByteArray piece = body.mid(*at, size);
        *at += piece.size();
        return piece;
    };
}

} // namespace

namespace HostileAnswer {

LoopbackResponse endless(const QByteArray &piece)
{
    LoopbackResponse response = LoopbackResponse::text({});
    response.stream = [piece] { return piece; };
    return response;
}

LoopbackResponse slow(const QByteArray &body, std::chrono::milliseconds pause, qsizetype bytesPerPiece)
{
    LoopbackResponse response = LoopbackResponse::text({});
    response.declaredLength = body.size();
    response.stream = piecesOf(body, bytesPerPiece);
    response.streamPause = pause;
    return response;
}

LoopbackResponse huge(qint64 size, const QByteArray &piece)
{
    LoopbackResponse response = LoopbackResponse::text({});
    response.declaredLength = size;
    auto left = std::make_shared<qint64>(size);
    response.stream = [piece, left] {
        const QByteArray next = piece.left(qsizetype(std::min<qint64>(*left, piece.size())));
        *left -= next.size();
        return next;
    };
    return response;
}

LoopbackResponse gzipBomb(qint64 inflatedSize)
{
    LoopbackResponse response = LoopbackResponse::json(gzippedZeros(inflatedSize));
    response.headers.append({ QByteArray("Content-Encoding"), QByteArray("gzip") });
    return response;
}

LoopbackResponse truncated(const QByteArray &body, qint64 declaredSize)
{
    LoopbackResponse response = LoopbackResponse::text({});
    response.declaredLength = declaredSize;
    response.stream = piecesOf(body, body.size());
    return response;
}

LoopbackResponse crafted(const QByteArray &body, const QByteArray &contentType, int status)
{
    LoopbackResponse response = LoopbackResponse::text(body, status);
    response.contentType = contentType;
    return response;
}

} // namespace HostileAnswer
