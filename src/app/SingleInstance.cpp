#include "SingleInstance.h"

#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>

using namespace std::chrono_literals;

namespace {

constexpr QByteArrayView kActivate = "activate\n";

QString runtimeFile(const QString &name)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return folder + QLatin1Char('/') + name;
}

} // namespace

SingleInstance::SingleInstance(QObject *parent)
    : SingleInstance(
        runtimeFile(QStringLiteral("zelfor.lock")), runtimeFile(QStringLiteral("zelfor.socket")), 2s, parent)
{
}

SingleInstance::SingleInstance(
    QString lockPath, QString socketPath, std::chrono::milliseconds answerWait, QObject *parent)
    : QObject(parent)
    , m_lock(lockPath)
    , m_socketPath(std::move(socketPath))
    , m_answerWait(answerWait)
{
    // Only a lock whose process is gone is stale, however old it is.
    m_lock.setStaleLockTime(0);
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *client = m_server.nextPendingConnection()) {
            connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
            connect(client, &QLocalSocket::readyRead, this, [this, client] {
                if (client->readAll().contains(kActivate.toByteArray()))
                    emit activationRequested();
            });
        }
    });
}

SingleInstance::Role SingleInstance::start()
{
    if (!m_lock.tryLock(0))
        return handOver() ? Role::handedOver : Role::unreachable;
    // The lock is ours, so a socket file left there belongs to a copy that died.
    QLocalServer::removeServer(m_socketPath);
    return m_server.listen(m_socketPath) ? Role::primary : Role::unreachable;
}

// The running copy listens before it reads any setting, so one attempt is enough.
bool SingleInstance::handOver()
{
    QLocalSocket socket;
    socket.connectToServer(m_socketPath);
    if (!socket.waitForConnected(int(m_answerWait.count())))
        return false;
    socket.write(kActivate.data(), kActivate.size());
    return socket.waitForBytesWritten(int(m_answerWait.count())) || socket.bytesToWrite() == 0;
}
