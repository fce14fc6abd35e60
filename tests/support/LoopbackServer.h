#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QTcpServer>
#include <QUrlQuery>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <utility>

class QTcpSocket;

using HeaderList = QList<std::pair<QByteArray, QByteArray>>;

struct LoopbackRequest {
    QByteArray method;
    QString path;
    QUrlQuery query;
    HeaderList headers; // names in lower case, values trimmed
    QByteArray body;

    bool hasHeader(const QByteArray &name) const;
    // The first value of the header (name in any case); empty when absent.
    QByteArray header(const QByteArray &name) const;
    QString queryValue(const QString &key) const;
};

struct LoopbackResponse {
    int status = 200;
    QByteArray body;
    QByteArray contentType = "text/plain; charset=utf-8";
    HeaderList headers;
    std::chrono::milliseconds delay { 0 };
    bool drop = false;
    // A request with a "Range: bytes=" header gets the asked bytes (206) or 416.
    bool ranges = false;
    // A body written piece by piece after `body`, for as long as the client reads: each call
    // gives the next piece, an empty one ends the answer and closes the connection. Without
    // `declaredLength` no length is sent and the body runs until the close.
    std::function<QByteArray()> stream;
    std::chrono::milliseconds streamPause { 0 }; // between two pieces
    std::optional<qint64> declaredLength; // the Content-Length sent instead of the body's own

    static LoopbackResponse text(const QByteArray &body, int status = 200);
    static LoopbackResponse json(const QByteArray &body, int status = 200);
    static LoopbackResponse withStatus(int status, const QByteArray &body = {});
    // A whole file that answers byte-range requests, as media players send them.
    static LoopbackResponse file(const QByteArray &body, const QByteArray &contentType);
    // Closes the connection without answering.
    static LoopbackResponse dropped();
    // Never answers while the client waits; the connection stays open.
    static LoopbackResponse stalled();
    // The same answer sent only after `wait`.
    LoopbackResponse after(std::chrono::milliseconds wait) const;
};

// A small HTTP/1.1 server on 127.0.0.1 (random free port) for the content-layer tests.
// Routes answer by exact path or by path prefix; every request is logged. It runs on the
// event loop of the thread that creates it and keeps connections alive between requests.
class LoopbackServer : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<LoopbackResponse(const LoopbackRequest &)>;

    explicit LoopbackServer(QObject *parent = nullptr);
    // Listens on the given port (0: any free one); check isListening().
    LoopbackServer(quint16 port, QObject *parent);
    ~LoopbackServer() override;

    bool isListening() const { return m_server.isListening(); }
    QString errorString() const { return m_server.errorString(); }

    quint16 port() const;
    // "http://127.0.0.1:<port>"
    QString baseUrl() const;
    // baseUrl() followed by a path with an optional query.
    QString url(const QString &pathAndQuery) const;

    void route(const QString &path, Handler handler);
    void routePrefix(const QString &prefix, Handler handler);
    // The same answer to every request for the path.
    void serve(const QString &path, const LoopbackResponse &response);
    // One answer per request in turn; the last one repeats.
    void serveSequence(const QString &path, QList<LoopbackResponse> responses);
    // Answers requests that no route takes (404 unless set).
    void setFallback(Handler handler);

    QList<LoopbackRequest> requests() const { return m_log; }
    int requestCount() const { return int(m_log.size()); }
    int requestCount(const QString &path) const;
    // The most requests that were waiting for their answer at the same time.
    int maxConcurrent() const { return m_maxInFlight; }
    int inFlight() const { return m_inFlight; }
    // Bytes of streamed bodies written so far, and the streams whose client closed first.
    qint64 streamedBytes() const { return m_streamedBytes; }
    int streamsClosedByClient() const { return m_streamsClosedByClient; }
    void clearLog();

signals:
    void requestReceived(const LoopbackRequest &request);

private:
    struct Connection;

    void accept();
    void readFrom(QTcpSocket *socket);
    void dispatch(QTcpSocket *socket, LoopbackRequest request);
    void answer(QTcpSocket *socket, const LoopbackResponse &response);
    void forget(QTcpSocket *socket);
    Handler handlerFor(const QString &path) const;
    void pump(QTcpSocket *socket, const std::shared_ptr<LoopbackResponse> &response);

    QTcpServer m_server;
    std::map<QTcpSocket *, std::unique_ptr<Connection>> m_connections;
    QHash<QString, Handler> m_routes;
    QList<std::pair<QString, Handler>> m_prefixRoutes;
    Handler m_fallback;
    QList<LoopbackRequest> m_log;
    int m_inFlight = 0;
    int m_maxInFlight = 0;
    qint64 m_streamedBytes = 0;
    int m_streamsClosedByClient = 0;
};
