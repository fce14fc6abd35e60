#pragma once

#include "AppError.h"
#include "CancelToken.h"
#include "HostLimiter.h"
#include "HttpCache.h"

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QObject>
#include <QString>

#include <QCoroTask>

#include <chrono>
#include <functional>
#include <optional>
#include <type_traits>

class AppClock;

// SHA-1 of the text's UTF-8 bytes as 40 lower-case hexadecimal digits.
QString sha1Hex(const QString &text);

struct HttpResponse {
    int status = 0; // 0 when the answer is not an HTTP response
    QByteArray body;
};

// What an Http client is built from; empty functions and no clock take the real ones.
struct HttpOptions {
    QString cacheDir;
    std::function<QString()> userAgent;
    std::function<QCoro::Task<>(std::chrono::milliseconds)> sleep;
    AppClock *clock = nullptr;
    std::chrono::milliseconds resourceTimeout = std::chrono::seconds(300);
    // An answer whose body (after decompression) passes this many bytes is aborted.
    qint64 bodyCap = 512LL * 1024 * 1024;
};

// The content layer's HTTP client: GET with a fixed retry ladder, GET through a disk cache,
// and a single JSON POST. Used from the main thread.
class Http : public QObject {
    Q_OBJECT
public:
    static constexpr auto kDefaultUserAgent = "Zelfor/" ZELFOR_VERSION " (X11; Linux)";
    static constexpr int kConnectionsPerHost = 4;

    explicit Http(HttpOptions options, QObject *parent = nullptr);

    // The program's cache folder, in the user's caches folder.
    static QString defaultCacheDir();

    // Asked anew for every request, retries included.
    void setUserAgentProvider(std::function<QString()> userAgent);
    QString cacheDir() const { return m_cache.dir(); }
    // Where the client and the requests made through it read "now".
    AppClock *clock() const { return m_clock; }

    // Throws AppError::badUrl, AppError::http for a refused status, AppError::badData for a
    // body over the cap or broken in transfer, or NetError. A fired token aborts the request
    // at once (NetError OperationCanceledError) and frees its slot.
    QCoro::Task<QByteArray> get(QString address, std::chrono::milliseconds timeout, CancelToken cancel = {});
    // Serves a cached body younger than ttl unless forced; falls back to a stale one on failure.
    QCoro::Task<QByteArray> cachedGet(QString address, std::chrono::seconds ttl, bool force);
    // One POST, never sent again by the transport; any status is returned. Throws only
    // AppError::badUrl, AppError::badData (also for an answer over `answerCap` bytes, the
    // client's cap when not given) or NetError.
    QCoro::Task<HttpResponse> postJSON(
        QString address, QByteArray body, std::optional<qint64> answerCap = {});
    // cachedGet() whose body is read by `decode` (a task). A body that fails to decode
    // (AppError::badData) is dropped from the cache and fetched once more before the error.
    template <typename Decode>
    std::invoke_result_t<Decode, QByteArray> cachedGetDecoded(
        QString address, std::chrono::seconds ttl, bool force, Decode decode);
    void clearCache();

private:
    struct Exchange {
        std::optional<int> status;
        QByteArray body;
        std::optional<NetError> failure;
    };

    QCoro::Task<Exchange> send(QNetworkRequest request, std::optional<QByteArray> postBody,
        std::chrono::milliseconds timeout, qint64 bodyCap, CancelToken cancel = {});
    QCoro::Task<bool> finishWithin(QNetworkReply *reply, std::chrono::milliseconds timeout);
    QNetworkReply *postOnce(const QNetworkRequest &request, const QByteArray &body);
    QByteArray userAgentHeader() const;

    QNetworkAccessManager m_network;
    HostLimiter m_limiter { kConnectionsPerHost };
    HttpCache m_cache;
    std::function<QString()> m_userAgent;
    std::function<QCoro::Task<>(std::chrono::milliseconds)> m_sleep;
    AppClock *m_clock;
    std::chrono::milliseconds m_resourceTimeout;
    qint64 m_bodyCap;
};

template <typename Decode>
std::invoke_result_t<Decode, QByteArray> Http::cachedGetDecoded(
    QString address, std::chrono::seconds ttl, bool force, Decode decode)
{
    for (bool again = force;; again = true) {
        QByteArray body = co_await cachedGet(address, ttl, again);
        try {
            co_return co_await decode(std::move(body));
        } catch (const AppError &error) {
            if (error.kind() != AppError::Kind::badData)
                throw;
            m_cache.remove(address);
            if (again)
                throw;
        }
    }
}
