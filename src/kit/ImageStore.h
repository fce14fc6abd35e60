#pragma once

#include <QCache>
#include <QImage>
#include <QNetworkAccessManager>
#include <QObject>
#include <QSet>
#include <QString>
#include <QUrl>

#include <QCoroTask>

#include <chrono>
#include <functional>

// The one loader of pictures from the network: decoded pictures in memory, the
// encoded answers on disk, and the addresses whose load failed, which are not asked
// for again until the caches are cleared. Used from the main thread.
class ImageStore : public QObject {
    Q_OBJECT
public:
    static constexpr int kMemoryCount = 600;
    // Decoded pictures are large (a poster is about 2 MB), so memory is also bounded
    // in bytes: a picture costs one slot per kMemoryBytes / kMemoryCount it takes.
    static constexpr qint64 kMemoryBytes = 256LL * 1024 * 1024;
    static constexpr qint64 kDiskBytes = 512LL * 1024 * 1024;
    static constexpr std::chrono::milliseconds kTimeout = std::chrono::seconds(20);

    // Keeps its disk cache in cacheDir and sends through network (one of its own when
    // null); userAgent is asked for each request.
    ImageStore(const QString &cacheDir, std::function<QString()> userAgent,
        QNetworkAccessManager *network = nullptr, QObject *parent = nullptr);

    // The store of the run, on defaultCacheDir() with the user agent of the settings.
    static ImageStore *shared();
    static QString defaultCacheDir();

    // The decoded picture kept in memory for the address; null when there is none.
    QImage cached(const QString &address) const;
    bool hasFailed(const QString &address) const { return m_failed.contains(address); }

    // The picture at an http(s) address, or a null image. Destroying `owner` while the
    // request is under way cancels it; a cancelled load is not remembered as failed.
    QCoro::Task<QImage> image(QString address, const QObject *owner = nullptr);

    // Forgets decoded pictures and failures and empties the disk cache.
    void clear();

private:
    // Remembers the failure for this run; the disk keeps nothing of it for the next.
    void fail(const QString &address, const QUrl &url);
    static qsizetype memoryCost(const QImage &picture);

    QNetworkAccessManager *m_network;
    QCache<QString, QImage> m_memory { kMemoryCount };
    QSet<QString> m_failed;
    std::function<QString()> m_userAgent;
};
