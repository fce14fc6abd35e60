#include "ImageStore.h"

#include "sources/CappedBody.h"
#include "sources/PrivateFiles.h"

#include "app/Prefs.h"

#include <algorithm>
#include <QBuffer>
#include <QDir>
#include <QImageReader>
#include <QNetworkDiskCache>
#include <QNetworkReply>
#include <QPointer>
#include <QStandardPaths>
#include <QUrl>
#include <QtConcurrent/QtConcurrentRun>

#include <QCoroFuture>
#include <QCoroNetworkReply>

#include <memory>

namespace {

struct DeleteLater {
    void operator()(QObject *object) const { object->deleteLater(); }
};

bool isRequestable(const QUrl &url)
{
    return url.isValid() && url.scheme().startsWith(QLatin1String("http"));
}

// The formats providers use for logos and posters.
bool isAllowedFormat(const QByteArray &format)
{
    static const QByteArrayList kRaster { "png", "jpeg", "jpg", "webp", "gif", "bmp" };
    return kRaster.contains(format.toLower());
}

// A decoded picture takes at most this many MiB.
constexpr int kDecodeLimitMiB = 128;

QImage decode(const QByteArray &body)
{
    QBuffer buffer;
    buffer.setData(body);
    buffer.open(QIODevice::ReadOnly);
    const QByteArray format = QImageReader::imageFormat(&buffer);
    if (!isAllowedFormat(format))
        return QImage();
    QImageReader reader(&buffer, format);
    reader.setAutoDetectImageFormat(false);
    reader.setAllocationLimit(kDecodeLimitMiB);
    return reader.read();
}

} // namespace

ImageStore::ImageStore(const QString &cacheDir, std::function<QString()> userAgent,
    QNetworkAccessManager *network, AppClock *clock, qint64 bodyCap, QObject *parent)
    : QObject(parent)
    , m_network(network ? network : new QNetworkAccessManager(this))
    , m_userAgent(std::move(userAgent))
    , m_clock(clock)
    , m_bodyCap(bodyCap)
{
    auto *disk = new QNetworkDiskCache(m_network);
    disk->setCacheDirectory(cacheDir);
    disk->setMaximumCacheSize(kDiskBytes);
    m_network->setCache(disk);
    // Qt opens at most six connections per host by itself.
    m_network->setTransferTimeout(int(kTimeout.count()));
}

ImageStore *ImageStore::shared()
{
    static ImageStore *store = new ImageStore(defaultCacheDir(), [] { return Prefs::shared()->userAgent(); });
    return store;
}

QString ImageStore::defaultCacheDir()
{
    const QString dir = privateCacheRoot() + QStringLiteral("/images");
    makePrivateFolder(dir);
    return dir;
}

QImage ImageStore::cached(const QString &address) const
{
    const QImage *picture = m_memory.object(address);
    return picture ? *picture : QImage();
}

QCoro::Task<QImage> ImageStore::image(QString address, const QObject *owner)
{
    if (const QImage *picture = m_memory.object(address))
        co_return *picture;
    const QUrl url(address);
    if (hasFailed(address) || !isRequestable(url))
        co_return QImage();

    QNetworkRequest request(url);
    if (m_userAgent)
        request.setRawHeader("User-Agent", m_userAgent().toUtf8());
    // Whatever the disk holds is used, however old; only a miss goes to the network.
    const bool onDisk = m_network->cache()->metaData(url).isValid();
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
        onDisk ? QNetworkRequest::AlwaysCache : QNetworkRequest::PreferNetwork);
    const std::unique_ptr<QNetworkReply, DeleteLater> reply(m_network->get(request));
    const QPointer<const QObject> alive(owner);
    if (owner)
        connect(owner, &QObject::destroyed, reply.get(), &QNetworkReply::abort, Qt::QueuedConnection);
    CappedBody body(reply.get(), m_bodyCap);
    co_await reply.get();

    if (owner && !alive && reply->error() == QNetworkReply::OperationCanceledError)
        co_return QImage();
    QByteArray bytes = body.take();
    if (body.overCap()) {
        fail(address, url, true);
        co_return QImage();
    }
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->error() != QNetworkReply::NoError || status > 399) {
        // The provider said the picture is not there, or sent one that cannot be read
        // (a decompression bomb, a bad encoding); anything else may pass.
        const bool unreadable
            = status >= 200 && status <= 299 && reply->error() >= QNetworkReply::ContentAccessDenied;
        fail(address, url, (status >= 400 && status <= 499) || unreadable);
        co_return QImage();
    }
    const QImage picture = co_await QtConcurrent::run(decode, std::move(bytes));
    if (picture.width() <= 1) {
        fail(address, url, true);
        co_return QImage();
    }
    m_retryAt.remove(address);
    m_memory.insert(address, new QImage(picture), memoryCost(picture));
    co_return picture;
}

qsizetype ImageStore::memoryCost(const QImage &picture)
{
    constexpr qint64 slotBytes = kMemoryBytes / kMemoryCount;
    return qsizetype(std::max<qint64>(1, (picture.sizeInBytes() + slotBytes - 1) / slotBytes));
}

bool ImageStore::hasFailed(const QString &address) const
{
    if (m_failed.contains(address))
        return true;
    const auto retry = m_retryAt.constFind(address);
    return retry != m_retryAt.cend() && m_clock->nowMs() < *retry;
}

void ImageStore::fail(const QString &address, const QUrl &url, bool permanent)
{
    if (permanent)
        m_failed.insert(address);
    else
        m_retryAt.insert(address, m_clock->nowMs() + kRetryAfter.count());
    m_network->cache()->remove(url);
}

void ImageStore::clear()
{
    m_memory.clear();
    m_failed.clear();
    m_retryAt.clear();
    m_network->cache()->clear();
}
