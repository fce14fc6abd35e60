#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

#include <chrono>

// Keeps one copy of the app running per user: the settings file is read once and rewritten
// whole, so a second copy would overwrite the first one's changes. The first copy holds a
// lock file and listens on a local socket; a later launch asks it to come to the front.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    enum class Role {
        primary, // this copy runs
        handedOver, // the running copy was asked to come to the front: exit
        unreachable, // another copy holds the lock but does not answer: exit
    };

    // Lock file and socket in the user's runtime folder.
    explicit SingleInstance(QObject *parent = nullptr);
    SingleInstance(QString lockPath, QString socketPath, std::chrono::milliseconds answerWait,
        QObject *parent = nullptr);

    Role start();

signals:
    // Another launch asked this copy to show its window.
    void activationRequested();

private:
    bool handOver();

    QLockFile m_lock;
    QString m_socketPath;
    std::chrono::milliseconds m_answerWait;
    QLocalServer m_server;
};
