#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <chrono>
#include <optional>

// Whole response bodies kept on disk, one file per address named by the address's SHA-1.
// The file's modification time is its age; unreadable or empty files count as missing.
class HttpCache {
public:
    explicit HttpCache(QString dir);

    QString dir() const { return m_dir; }
    QString filePath(const QString &address) const;

    // The stored body when it was written strictly less than ttl before now.
    std::optional<QByteArray> readFresh(
        const QString &address, std::chrono::seconds ttl, const QDateTime &now) const;
    // The stored body whatever its age.
    std::optional<QByteArray> readAny(const QString &address) const;
    // Replaces the stored body whole or not at all; failures are ignored.
    void write(const QString &address, const QByteArray &body) const;
    // Forgets the stored body; failures are ignored.
    void remove(const QString &address) const;
    // Removes the folder with everything in it and creates it again; failures are ignored.
    void clear() const;

private:
    QString m_dir;
};
