#pragma once

#include "LoopbackServer.h"

#include <QByteArray>

#include <chrono>

// Answers of a provider that misbehaves, for a LoopbackServer: bodies that never end, come
// slowly, are huge, inflate to far more than they weigh, stop early, or are made up.
namespace HostileAnswer {

// `piece` again and again until the client closes the connection.
LoopbackResponse endless(const QByteArray &piece = QByteArray(64 * 1024, 'x'));
// `body` a few bytes at a time, `pause` apart.
LoopbackResponse slow(const QByteArray &body, std::chrono::milliseconds pause, qsizetype bytesPerPiece = 8);
// `size` bytes of `piece` repeated, announced with their length.
LoopbackResponse huge(qint64 size, const QByteArray &piece = QByteArray(64 * 1024, 'x'));
// A gzip-encoded body of `inflatedSize` zero bytes, which weighs about a thousandth of that.
LoopbackResponse gzipBomb(qint64 inflatedSize);
// `body` under a Content-Length of `declaredSize`, then the connection closes.
LoopbackResponse truncated(const QByteArray &body, qint64 declaredSize);
// Made-up bytes under the given status and content type.
LoopbackResponse crafted(const QByteArray &body, const QByteArray &contentType, int status = 200);

} // namespace HostileAnswer
