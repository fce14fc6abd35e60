#include "ImageStore.h"

#include "sources/CappedBody.h"
#include "sources/PrivateFiles.h"

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

struct Decoded {
    QImage picture;
    QSize original;
};

// The size to decode a picture of `original` at: the size it is shown at, never larger.
QSize decodedSize(const QSize &original, const ImageStore::Shown &shown)
{
    if (shown.frame.isEmpty() || original.isEmpty())
        return original;
    const QSize scaled
        = original.scaled(shown.frame, shown.cover ? Qt::KeepAspectRatioByExpanding : Qt::KeepAspectRatio);
    if (scaled.width() >= original.width() || scaled.height() >= original.height())
        return original;
    return scaled.expandedTo(QSize(1, 1));
}

Decoded decode(const QByteArray &body, const ImageStore::Shown &shown)
{
    QBuffer buffer;
    buffer.setData(body);
    buffer.open(QIODevice::ReadOnly);
    const QByteArray format = QImageReader::imageFormat(&buffer);
    if (!isAllowedFormat(format))
        return {};
    QImageReader reader(&buffer, format);
    reader.setAutoDetectImageFormat(false);
    reader.setAllocationLimit(kDecodeLimitMiB);
    const QSize original = reader.size();
    if (const QSize target = decodedSize(original, shown); target != original)
        reader.setScaledSize(target);
    QImage picture = reader.read();
    return { picture, original.isValid() ? original : picture.size() };
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
    m_decoders.setMaxThreadCount(kDecoders);
    auto *disk = new QNetworkDiskCache(m_network);
    disk->setCacheDirectory(cacheDir);
    disk->setMaximumCacheSize(kDiskBytes);
    m_network->setCache(disk);
    // Qt opens at most six connections per host by itself.
    m_network->setTransferTimeout(int(kTimeout.count()));
}

QString ImageStore::defaultCacheDir()
{
    const QString dir = privateCacheRoot() + QStringLiteral("/images");
    makePrivateFolder(dir);
    return dir;
}

QImage ImageStore::cached(const QString &address) const
{
    const Kept *kept = m_memory.object(address);
    return kept ? kept->picture : QImage();
}

QImage ImageStore::cached(const QString &address, const Shown &shown) const
{
    const Kept *kept = m_memory.object(address);
    return kept && serves(*kept, shown) ? kept->picture : QImage();
}

bool ImageStore::serves(const Kept &kept, const Shown &shown)
{
    const QSize needed = decodedSize(kept.original, shown);
    return kept.picture.width() >= needed.width() && kept.picture.height() >= needed.height();
}

QCoro::Task<QImage> ImageStore::image(QString address, const QObject *owner, std::function<Shown()> shown)
{
    Shown wanted = shown ? shown() : Shown {};
    if (const QImage picture = cached(address, wanted); !picture.isNull())
        co_return picture;
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
        const bool unreadable = status >= 200 && status <= 299
            && reply->error() >= QNetworkReply::ContentAccessDenied;
        fail(address, url, (status >= 400 && status <= 499) || unreadable);
        co_return QImage();
    }
    // The owner laid out meanwhile; a gone one keeps the size it asked for.
    if (shown && (!owner || alive))
        wanted = shown();
    const Decoded decoded = co_await QtConcurrent::run(&m_decoders, decode, std::move(bytes), wanted);
    if (decoded.picture.isNull() || decoded.original.width() <= 1) {
        fail(address, url, true);
        co_return QImage();
    }
    m_retryAt.remove(address);
    // A larger picture kept meanwhile for another view stays.
    const Kept *kept = m_memory.object(address);
    if (!kept || kept->picture.width() < decoded.picture.width())
        m_memory.insert(address, new Kept { decoded.picture, decoded.original }, memoryCost(decoded.picture));
    co_return decoded.picture;
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
