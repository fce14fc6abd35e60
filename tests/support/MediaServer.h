#pragma once

#include <QByteArray>
#include <QHash>
#include <QMutex>
#include <QObject>
#include <QStringList>
#include <QThread>

class QTcpServer;

// Serves media files on 127.0.0.1 from its own thread, with byte ranges,
// and records the User-Agent of every request.
class MediaServer {
public:
    MediaServer();
    ~MediaServer();
    MediaServer(const MediaServer &) = delete;
    MediaServer &operator=(const MediaServer &) = delete;

    void addFile(const QString &path, const QByteArray &data, const QByteArray &contentType);
    // Served as a live stream: no length and no ranges; the server closes the response
    // after the data, as a live source that stops.
    void addLiveStream(const QString &path, const QByteArray &data, const QByteArray &contentType);
    // Answered with a 302 redirect to `location`, whatever it names.
    void addRedirect(const QString &path, const QByteArray &location);
    // "http://127.0.0.1:<port>" followed by the path.
    QString url(const QString &path) const;
    // The User-Agent of every request for the path, in order.
    QStringList userAgents(const QString &path) const;
    int requestCount(const QString &path) const;

private:
    struct File {
        QByteArray data;
        QByteArray contentType;
        bool live = false;
        QByteArray redirect;
    };
    friend class MediaServerWorker;
    QByteArray respond(const QByteArray &request);

    QThread m_thread;
    QObject m_context; // lives on m_thread
    QTcpServer *m_server = nullptr;
    quint16 m_port = 0;
    mutable QMutex m_mutex;
    QHash<QString, File> m_files;
    QHash<QString, QStringList> m_userAgents;
};
