#include "LoopbackServer.h"

#include <QHostAddress>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

#include <optional>

using namespace std::chrono_literals;

struct LoopbackServer::Connection {
    QByteArray buffer;
    bool busy = false; // a request waits for its answer
    bool closeAfterAnswer = false;
};

namespace {

QByteArray findHeader(const HeaderList &headers, const QByteArray &name)
{
    const QByteArray wanted = name.toLower();
    for (const auto &[key, value] : headers) {
        if (key == wanted)
            return value;
    }
    return {};
}

// Takes one complete request off the front of the buffer; nothing while it is incomplete.
std::optional<LoopbackRequest> takeRequest(QByteArray &buffer)
{
    const qsizetype headEnd = buffer.indexOf("\r\n\r\n");
    if (headEnd < 0)
        return std::nullopt;
    const QList<QByteArray> lines = buffer.left(headEnd).split('\n');
    const QList<QByteArray> requestLine = lines.first().trimmed().split(' ');
    LoopbackRequest request;
    request.method = requestLine.value(0);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        if (colon > 0)
            request.headers.append(
                { lines[i].left(colon).trimmed().toLower(), lines[i].mid(colon + 1).trimmed() });
    }
    const qsizetype bodySize = findHeader(request.headers, "content-length").toLongLong();
    const qsizetype total = headEnd + 4 + bodySize;
    if (buffer.size() < total)
        return std::nullopt;
    request.body = buffer.mid(headEnd + 4, bodySize);
    buffer.remove(0, total);

    const QByteArray target = requestLine.value(1);
    const qsizetype mark = target.indexOf('?');
    request.path = QUrl::fromPercentEncoding(mark < 0 ? target : target.left(mark));
    if (mark >= 0)
        request.query = QUrlQuery(QString::fromUtf8(target.mid(mark + 1)));
    return request;
}

QByteArray reasonPhrase(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 206:
        return "Partial Content";
    case 401:
        return "Unauthorized";
    case 403:
        return "Forbidden";
    case 404:
        return "Not Found";
    case 416:
        return "Range Not Satisfiable";
    case 500:
        return "Internal Server Error";
    case 503:
        return "Service Unavailable";
    default:
        return "Status";
    }
}

QByteArray encodeResponse(const LoopbackResponse &response)
{
    QByteArray head
        = "HTTP/1.1 " + QByteArray::number(response.status) + ' ' + reasonPhrase(response.status) + "\r\n";
    head += "Content-Type: " + response.contentType + "\r\n";
    if (response.declaredLength)
        head += "Content-Length: " + QByteArray::number(*response.declaredLength) + "\r\n";
    else if (!response.stream)
        head += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n";
    if (response.stream)
        head += "Connection: close\r\n";
    for (const auto &[name, value] : response.headers)
        head += name + ": " + value + "\r\n";
    return head + "\r\n" + response.body;
}

// The part of a ranged answer that a "bytes=first-last", "bytes=first-" or "bytes=-suffix"
// request asks for; other range forms get the whole body.
LoopbackResponse sliceForRange(LoopbackResponse response, const QByteArray &range)
{
    const qint64 size = response.body.size();
    response.headers.append({ QByteArray("Accept-Ranges"), QByteArray("bytes") });
    if (!range.startsWith("bytes=") || range.contains(','))
        return response;
    const QList<QByteArray> bounds = range.mid(6).split('-');
    bool firstOk = false;
    bool lastOk = false;
    qint64 first = bounds.value(0).trimmed().toLongLong(&firstOk);
    qint64 last = bounds.value(1).trimmed().toLongLong(&lastOk);
    if (bounds.size() != 2 || (!firstOk && !lastOk))
        return response;
    if (!firstOk) {
        first = std::max<qint64>(0, size - last);
        last = size - 1;
    } else if (!lastOk || last >= size) {
        last = size - 1;
    }
    if (first >= size || first > last) {
        response.status = 416;
        response.headers.append({ QByteArray("Content-Range"), "bytes */" + QByteArray::number(size) });
        response.body.clear();
        return response;
    }
    response.status = 206;
    response.headers.append({ QByteArray("Content-Range"),
        "bytes " + QByteArray::number(first) + '-' + QByteArray::number(last) + '/'
            + QByteArray::number(size) });
    response.body = response.body.mid(first, last - first + 1);
    return response;
}

} // namespace

bool LoopbackRequest::hasHeader(const QByteArray &name) const
{
    const QByteArray wanted = name.toLower();
    return std::any_of(
        headers.begin(), headers.end(), [&](const auto &header) { return header.first == wanted; });
}

QByteArray LoopbackRequest::header(const QByteArray &name) const
{
    return findHeader(headers, name);
}

QString LoopbackRequest::queryValue(const QString &key) const
{
    return query.queryItemValue(key, QUrl::FullyDecoded);
}

LoopbackResponse LoopbackResponse::text(const QByteArray &body, int status)
{
    return LoopbackResponse { .status = status, .body = body };
}

LoopbackResponse LoopbackResponse::json(const QByteArray &body, int status)
{
    return LoopbackResponse { .status = status, .body = body, .contentType = "application/json" };
}

LoopbackResponse LoopbackResponse::withStatus(int status, const QByteArray &body)
{
    return text(body, status);
}

LoopbackResponse LoopbackResponse::file(const QByteArray &body, const QByteArray &contentType)
{
    return LoopbackResponse { .body = body, .contentType = contentType, .ranges = true };
}

LoopbackResponse LoopbackResponse::dropped()
{
    return LoopbackResponse { .drop = true };
}

LoopbackResponse LoopbackResponse::stalled()
{
    return LoopbackResponse { .delay = 1h };
}

LoopbackResponse LoopbackResponse::after(std::chrono::milliseconds wait) const
{
    LoopbackResponse delayed = *this;
    delayed.delay = wait;
    return delayed;
}

LoopbackServer::LoopbackServer(QObject *parent)
    : LoopbackServer(0, parent)
{
    if (!isListening())
        qFatal("loopback server cannot listen: %s", qPrintable(m_server.errorString()));
}

LoopbackServer::LoopbackServer(quint16 port, QObject *parent)
    : QObject(parent)
{
    connect(&m_server, &QTcpServer::newConnection, this, &LoopbackServer::accept);
    m_server.listen(QHostAddress::LocalHost, port);
}

LoopbackServer::~LoopbackServer()
{
    for (const auto &[socket, connection] : m_connections) {
        socket->disconnect(this);
        socket->abort();
        delete socket;
    }
    m_connections.clear();
}

quint16 LoopbackServer::port() const
{
    return m_server.serverPort();
}

QString LoopbackServer::baseUrl() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(port());
}

QString LoopbackServer::url(const QString &pathAndQuery) const
{
    return baseUrl() + pathAndQuery;
}

void LoopbackServer::route(const QString &path, Handler handler)
{
    m_routes.insert(path, std::move(handler));
}

void LoopbackServer::routePrefix(const QString &prefix, Handler handler)
{
    m_prefixRoutes.append({ prefix, std::move(handler) });
}

void LoopbackServer::serve(const QString &path, const LoopbackResponse &response)
{
    route(path, [response](const LoopbackRequest &) { return response; });
}

void LoopbackServer::serveSequence(const QString &path, QList<LoopbackResponse> responses)
{
    Q_ASSERT(!responses.isEmpty());
    auto next = std::make_shared<qsizetype>(0);
    route(path, [responses = std::move(responses), next](const LoopbackRequest &) {
        const qsizetype index = std::min(*next, responses.size() - 1);
        ++*next;
        return responses[index];
    });
}

void LoopbackServer::setFallback(Handler handler)
{
    m_fallback = std::move(handler);
}

int LoopbackServer::requestCount(const QString &path) const
{
    return int(
        std::count_if(m_log.begin(), m_log.end(), [&](const LoopbackRequest &r) { return r.path == path; }));
}

void LoopbackServer::clearLog()
{
    m_log.clear();
    m_maxInFlight = m_inFlight;
}

LoopbackServer::Handler LoopbackServer::handlerFor(const QString &path) const
{
    if (const auto it = m_routes.constFind(path); it != m_routes.constEnd())
        return *it;
    for (const auto &[prefix, handler] : m_prefixRoutes) {
        if (path.startsWith(prefix))
            return handler;
    }
    if (m_fallback)
        return m_fallback;
    return [](const LoopbackRequest &) { return LoopbackResponse::withStatus(404, "not found"); };
}

void LoopbackServer::accept()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        m_connections.emplace(socket, std::make_unique<Connection>());
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readFrom(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] { forget(socket); });
    }
}

void LoopbackServer::readFrom(QTcpSocket *socket)
{
    const auto it = m_connections.find(socket);
    if (it == m_connections.end())
        return;
    Connection &connection = *it->second;
    connection.buffer += socket->readAll();
    if (connection.busy)
        return;
    if (std::optional<LoopbackRequest> request = takeRequest(connection.buffer)) {
        connection.busy = true;
        connection.closeAfterAnswer = request->header("connection").toLower() == "close";
        dispatch(socket, std::move(*request));
    }
}

void LoopbackServer::dispatch(QTcpSocket *socket, LoopbackRequest request)
{
    m_log.append(request);
    m_maxInFlight = std::max(m_maxInFlight, ++m_inFlight);
    emit requestReceived(request);
    LoopbackResponse response = handlerFor(request.path)(request);
    if (response.ranges && response.status == 200)
        response = sliceForRange(std::move(response), request.header("range"));
    if (response.delay > 0ms)
        QTimer::singleShot(response.delay, socket, [this, socket, response] { answer(socket, response); });
    else
        answer(socket, response);
}

void LoopbackServer::answer(QTcpSocket *socket, const LoopbackResponse &response)
{
    const auto it = m_connections.find(socket);
    if (it == m_connections.end() || !it->second->busy)
        return;
    Connection &connection = *it->second;
    connection.busy = false;
    --m_inFlight;
    if (response.drop) {
        socket->disconnectFromHost();
        return;
    }
    socket->write(encodeResponse(response));
    if (response.stream) {
        auto streamed = std::make_shared<LoopbackResponse>(response);
        connect(
            socket, &QTcpSocket::bytesWritten, socket, [this, socket, streamed] { pump(socket, streamed); });
        connect(socket, &QTcpSocket::disconnected, this, [this, streamed] {
            if (streamed->stream)
                ++m_streamsClosedByClient;
        });
        pump(socket, streamed);
        return;
    }
    if (connection.closeAfterAnswer) {
        socket->disconnectFromHost();
        return;
    }
    // A pipelined request may already wait in the buffer.
    if (!connection.buffer.isEmpty())
        QMetaObject::invokeMethod(
            socket, [this, socket] { readFrom(socket); }, Qt::QueuedConnection);
}

// Keeps a little of a streamed body queued; the next piece goes once the client has read.
void LoopbackServer::pump(QTcpSocket *socket, const std::shared_ptr<LoopbackResponse> &response)
{
    constexpr qint64 kQueued = 256 * 1024;
    if (!response->stream || socket->bytesToWrite() >= kQueued
        || socket->state() != QAbstractSocket::ConnectedState)
        return;
    const auto writeNext = [this, socket, response] {
        if (!response->stream || socket->state() != QAbstractSocket::ConnectedState)
            return;
        const QByteArray piece = response->stream();
        if (piece.isEmpty()) {
            response->stream = nullptr;
            socket->disconnectFromHost();
            return;
        }
        m_streamedBytes += socket->write(piece);
    };
    if (response->streamPause > 0ms)
        QTimer::singleShot(response->streamPause, socket, writeNext);
    else
        writeNext();
}

void LoopbackServer::forget(QTcpSocket *socket)
{
    const auto it = m_connections.find(socket);
    if (it == m_connections.end())
        return;
    if (it->second->busy)
        --m_inFlight;
    m_connections.erase(it);
    socket->deleteLater();
}
