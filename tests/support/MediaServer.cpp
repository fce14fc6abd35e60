#include "MediaServer.h"

#include <QMetaObject>
#include <QMutexLocker>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>

namespace {

QByteArray headerValue(const QList<QByteArray> &lines, const QByteArray &name)
{
    for (const QByteArray &line : lines) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed().toLower() == name)
            return line.mid(colon + 1).trimmed();
    }
    return {};
}

QByteArray head(int status, const QByteArray &reason, const QList<QByteArray> &fields)
{
    QByteArray out = "HTTP/1.1 " + QByteArray::number(status) + ' ' + reason + "\r\n";
    for (const QByteArray &field : fields)
        out += field + "\r\n";
    return out + "Connection: close\r\n\r\n";
}

}

MediaServer::MediaServer()
{
    m_context.moveToThread(&m_thread);
    m_thread.start();
    QMetaObject::invokeMethod(
        &m_context,
        [this] {
        m_server = new QTcpServer;
        m_server->listen(QHostAddress::LocalHost, 0);
        m_port = m_server->serverPort();
        QObject::connect(m_server, &QTcpServer::newConnection, m_server, [this] {
            while (QTcpSocket *socket = m_server->nextPendingConnection()) {
                QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    if (socket->property("answered").toBool())
                        return;
                    QByteArray buffered = socket->property("buffer").toByteArray() + socket->readAll();
                    socket->setProperty("buffer", buffered);
                    if (!buffered.contains("\r\n\r\n"))
                        return;
                    socket->setProperty("answered", true);
                    socket->write(respond(buffered));
                    socket->disconnectFromHost();
                });
            }
        });
        },
        Qt::BlockingQueuedConnection);
}

MediaServer::~MediaServer()
{
    QMetaObject::invokeMethod(
        &m_context, [this] { delete m_server; }, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

void MediaServer::addFile(const QString &path, const QByteArray &data, const QByteArray &contentType)
{
    QMutexLocker lock(&m_mutex);
    m_files.insert(path, { data, contentType, false, {} });
}

void MediaServer::addLiveStream(const QString &path, const QByteArray &data, const QByteArray &contentType)
{
    QMutexLocker lock(&m_mutex);
    m_files.insert(path, { data, contentType, true, {} });
}

void MediaServer::addRedirect(const QString &path, const QByteArray &location)
{
    QMutexLocker lock(&m_mutex);
    m_files.insert(path, { {}, {}, false, location });
}

QString MediaServer::url(const QString &path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(m_port).arg(path);
}

QStringList MediaServer::userAgents(const QString &path) const
{
    QMutexLocker lock(&m_mutex);
    return m_userAgents.value(path);
}

int MediaServer::requestCount(const QString &path) const
{
    QMutexLocker lock(&m_mutex);
    return int(m_userAgents.value(path).size());
}

QByteArray MediaServer::respond(const QByteArray &request)
{
    const QList<QByteArray> lines = request.left(request.indexOf("\r\n\r\n")).split('\n');
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    const QString path = QString::fromUtf8(requestLine.value(1).split('?').value(0));
    QMutexLocker lock(&m_mutex);
    m_userAgents[path].append(QString::fromUtf8(headerValue(lines, "user-agent")));
    const auto found = m_files.constFind(path);
    if (found == m_files.constEnd())
        return head(404, "Not Found", { "Content-Length: 0" });
    if (!found->redirect.isEmpty())
        return head(302, "Found", { "Location: " + found->redirect, "Content-Length: 0" });
    const QByteArray &data = found->data;
    if (found->live)
        return head(200, "OK", { "Content-Type: " + found->contentType }) + data;
    const qint64 size = data.size();
    qint64 first = 0;
    qint64 last = size - 1;
    const QByteArray range = headerValue(lines, "range");
    static const QRegularExpression kRange(QStringLiteral("^bytes=(\\d*)-(\\d*)$"));
    const auto match = kRange.match(QString::fromLatin1(range));
    if (match.hasMatch()) {
        if (!match.captured(1).isEmpty())
            first = match.captured(1).toLongLong();
        else if (!match.captured(2).isEmpty())
            first = std::max<qint64>(0, size - match.captured(2).toLongLong());
        if (!match.captured(1).isEmpty() && !match.captured(2).isEmpty())
            last = std::min(last, match.captured(2).toLongLong());
        if (first >= size || last < first)
            return head(
                416, "Range Not Satisfiable", { "Content-Range: bytes */" + QByteArray::number(size) });
    }
    const bool partial = match.hasMatch();
    QList<QByteArray> fields = { "Content-Type: " + found->contentType, "Accept-Ranges: bytes",
        "Content-Length: " + QByteArray::number(last - first + 1) };
    if (partial)
        fields.append("Content-Range: bytes " + QByteArray::number(first) + '-' + QByteArray::number(last)
            + '/' + QByteArray::number(size));
    const QByteArray body = requestLine.value(0) == "HEAD" ? QByteArray() : data.mid(first, last - first + 1);
    return head(partial ? 206 : 200, partial ? "Partial Content" : "OK", fields) + body;
}
