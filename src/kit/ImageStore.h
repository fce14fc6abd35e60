#pragma once

#include "app/PictureCache.h"
#include "sources/AppClock.h"

#include <QCache>
#include <QHash>
#include <QImage>
#include <QNetworkAccessManager>
#include <QObject>
#include <QSet>
#include <QSize>
#include <QString>
#include <QThreadPool>
#include <QUrl>

#include <QCoroTask>

#include <chrono>
#include <functional>

// The size, in device pixels, a picture is shown at: fitted inside `frame`, or covering
// it. An empty frame asks for the picture as it is.
struct ShownSize {
    QSize frame;
    bool cover = false;
};

// The one loader of pictures from the network: decoded pictures in memory, the
// encoded answers on disk, and the addresses whose load failed. Only raster formats are
// decoded (never SVG, whose pictures may read local files). A permanent failure (a 4xx
// answer, a body over the cap, data that is no picture of an allowed format, a picture
// one pixel wide or less) is not asked
// for again until the caches are cleared; a passing one (refused, unknown host, time-out,
// dropped connection, 5xx) is asked for again on a later request, at most once per
// kRetryAfter. A picture is decoded no larger than the size it is shown at, and the
// largest size asked for is kept. Used from the main thread.
class ImageStore : public QObject, public PictureCache {
    Q_OBJECT
public:
    using Shown = ShownSize;

    static constexpr int kMemoryCount = 600;
    // Decoded pictures are large (a poster is about 2 MB), so memory is also bounded
    // in bytes: a picture costs one slot per kMemoryBytes / kMemoryCount it takes.
    static constexpr qint64 kMemoryBytes = 256LL * 1024 * 1024;
    static constexpr qint64 kDiskBytes = 512LL * 1024 * 1024;
    static constexpr std::chrono::milliseconds kTimeout = std::chrono::seconds(20);
    static constexpr std::chrono::milliseconds kRetryAfter = std::chrono::seconds(30);
    // One encoded picture is at most this long; a longer answer is aborted.
    static constexpr qint64 kBodyCap = 16LL * 1024 * 1024;
    // Pictures decoded at once; each may take up to 128 MiB while it is decoded.
    static constexpr int kDecoders = 2;

    // Keeps its disk cache in cacheDir and sends through network (one of its own when
    // null); userAgent is asked for each request; `clock` times the retries.
    ImageStore(const QString &cacheDir, std::function<QString()> userAgent,
        QNetworkAccessManager *network = nullptr, AppClock *clock = AppClock::system(),
        qint64 bodyCap = kBodyCap, QObject *parent = nullptr);

    // The program's cache folder, in the user's caches folder.
    static QString defaultCacheDir();

    // The decoded picture kept in memory for the address, of whatever size; null when
    // there is none.
    QImage cached(const QString &address) const;
    // The same, only when it is large enough for `shown`.
    QImage cached(const QString &address, const Shown &shown) const;
    // A load of the address would give nothing without a request: it failed for good, or
    // failed passingly less than kRetryAfter ago.
    bool hasFailed(const QString &address) const;

    // The picture at an http(s) address, or a null image. Destroying `owner` while the
    // request is under way cancels it; a cancelled load is not remembered as failed.
    // `shown` is asked once the picture has arrived, so a view laid out meanwhile gets
    // its picture at its final size.
    QCoro::Task<QImage> image(
        QString address, const QObject *owner = nullptr, std::function<Shown()> shown = {});

    // Forgets decoded pictures and failures and empties the disk cache.
    void clear() override;

private:
    struct Kept {
        QImage picture;
        QSize original; // the size the provider sent
    };

    // Remembers the failure for this run (for good, or until kRetryAfter has passed);
    // the disk keeps nothing of it for the next.
    void fail(const QString &address, const QUrl &url, bool permanent);
    static qsizetype memoryCost(const QImage &picture);
    static bool serves(const Kept &kept, const Shown &shown);

    QNetworkAccessManager *m_network;
    QThreadPool m_decoders;
    QCache<QString, Kept> m_memory { kMemoryCount };
    QSet<QString> m_failed;
    // Passing failures and when each may be asked for again, on the clock.
    QHash<QString, qint64> m_retryAt;
    std::function<QString()> m_userAgent;
    AppClock *m_clock;
    qint64 m_bodyCap;
};
