#include "HttpCache.h"

#include "Http.h"
#include "PrivateFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

HttpCache::HttpCache(QString dir)
    : m_dir(std::move(dir))
{
    makePrivateFolder(m_dir);
}

QString HttpCache::filePath(const QString &address) const
{
    return m_dir + QLatin1Char('/') + sha1Hex(address);
}

std::optional<QByteArray> HttpCache::readFresh(
    const QString &address, std::chrono::seconds ttl, const QDateTime &now) const
{
    const QDateTime modified = QFileInfo(filePath(address)).lastModified();
    if (!modified.isValid() || std::chrono::milliseconds(modified.msecsTo(now)) >= ttl)
        return std::nullopt;
    return readAny(address);
}

std::optional<QByteArray> HttpCache::readAny(const QString &address) const
{
    QFile file(filePath(address));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray body = file.readAll();
    if (body.isEmpty())
        return std::nullopt;
    return body;
}

void HttpCache::write(const QString &address, const QByteArray &body) const
{
    QSaveFile file(filePath(address));
    if (!file.open(QIODevice::WriteOnly))
        return;
    if (file.write(body) != body.size() || !file.setPermissions(kPrivateFile)) {
        file.cancelWriting();
        return;
    }
    file.commit();
}

void HttpCache::remove(const QString &address) const
{
    QFile::remove(filePath(address));
}

void HttpCache::clear() const
{
    QDir(m_dir).removeRecursively();
    makePrivateFolder(m_dir);
}
