#include "Http.h"

#include "AppClock.h"
#include "CappedBody.h"
#include "PrivateFiles.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QNetworkReply>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>
#include <QUrl>

#include <cstring>

#include <QCoroFuture>
#include <QCoroNetworkReply>
#include <QCoroTimer>

using namespace std::chrono_literals;

namespace {

constexpr auto kCachedDownloadTimeout = 90s;
constexpr auto kPostTimeout = 25s;
constexpr auto kServerRetryStep = 1200ms;
constexpr int kMaxServerRetries = 2;
constexpr int kMaxTransportRetries = 1;

// Only web addresses are fetched: file: or qrc: addresses would read local files. Parsing
// is tolerant: spaces, "|" or "{" (common in M3U files) are percent-encoded.
QUrl requestUrl(const QString &address)
{
    const QUrl url(address, QUrl::TolerantMode);
    const QString scheme = url.scheme().toLower();
    if (address.isEmpty() || !url.isValid() || (scheme != u"http" && scheme != u"https")
        || url.host().isEmpty())
        throw AppError::badUrl();
    return url;
}

QString hostKey(const QUrl &url)
{
    const int port = url.port(url.scheme().compare(u"https", Qt::CaseInsensitive) == 0 ? 443 : 80);
    return url.scheme().toLower() + QLatin1String("://") + url.host() + QLatin1Char(':')
        + QString::number(port);
}

// Qt reports HTTP error statuses as network errors too; these ones still carry an answer.
// A reply carrying a status line is an answer, whatever error Qt maps the status to
// (400 becomes a protocol error); network and proxy failures are not.
bool isHttpAnswer(QNetworkReply::NetworkError error, const QVariant &status)
{
    return error == QNetworkReply::NoError
        || (status.isValid() && error >= QNetworkReply::ContentAccessDenied);
}

bool isSuccess(int status)
{
    return status >= 200 && status <= 299;
}

QNetworkRequest baseRequest(const QUrl &url)
{
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    return request;
}

// A body that can be read only once: Qt cannot rewind it, so it never sends a POST twice
// when a connection closes before the answer (it reports ContentReSendError instead).
class OneShotBody : public QIODevice {
public:
    explicit OneShotBody(QByteArray bytes)
        : m_bytes(std::move(bytes))
    {
        open(QIODevice::ReadOnly);
    }

    bool isSequential() const override { return true; }
    bool reset() override { return false; }
    qint64 bytesAvailable() const override { return m_bytes.size() - m_read + QIODevice::bytesAvailable(); }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const qint64 count = std::min(maxSize, qint64(m_bytes.size()) - m_read);
        std::memcpy(data, m_bytes.constData() + m_read, size_t(count));
        m_read += count;
        return count;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray m_bytes;
    qint64 m_read = 0;
};

QCoro::Task<> timerSleep(std::chrono::milliseconds duration)
{
    co_await QCoro::sleepFor(duration);
}

} // namespace

QString sha1Hex(const QString &text)
{
    return QString::fromLatin1(QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha1).toHex());
}

Http::Http(HttpOptions options, QObject *parent)
    : QObject(parent)
    , m_cache(std::move(options.cacheDir))
    , m_userAgent(std::move(options.userAgent))
    , m_sleep(std::move(options.sleep))
    , m_clock(options.clock ? options.clock : AppClock::system())
    , m_resourceTimeout(options.resourceTimeout)
    , m_bodyCap(options.bodyCap)
{
    if (!m_userAgent)
        m_userAgent = [] { return QString::fromLatin1(kDefaultUserAgent); };
    if (!m_sleep)
        m_sleep = timerSleep;
}

QString Http::defaultCacheDir()
{
    return privateCacheRoot() + QLatin1String("/http");
}

void Http::setUserAgentProvider(std::function<QString()> userAgent)
{
    m_userAgent = std::move(userAgent);
}

void Http::clearCache()
{
    m_cache.clear();
}

QNetworkReply *Http::postOnce(const QNetworkRequest &request, const QByteArray &body)
{
    auto *device = new OneShotBody(body);
    QNetworkReply *reply = m_network.post(request, device);
    device->setParent(reply);
    return reply;
}

QByteArray Http::userAgentHeader() const
{
    const QByteArray agent = m_userAgent().toUtf8();
    // Qt puts its own agent on a request whose agent is empty; a lone space reaches the
    // server as an empty header value.
    return agent.isEmpty() ? QByteArrayLiteral(" ") : agent;
}

QCoro::Task<QByteArray> Http::get(QString address, std::chrono::milliseconds timeout, CancelToken cancel)
{
    QNetworkRequest request = baseRequest(requestUrl(address));
    request.setRawHeader("Accept", "*/*");
    int attempt = 0;
    for (;;) {
        Exchange answer = co_await send(request, std::nullopt, timeout, m_bodyCap, cancel);
        if (answer.failure) {
            if (answer.failure->isTimeoutOrConnectionLost() && attempt < kMaxTransportRetries) {
                ++attempt;
                continue;
            }
            throw *answer.failure;
        }
        const int status = answer.status.value_or(200);
        if (isSuccess(status))
            co_return answer.body;
        if (status >= 500 && status <= 599 && attempt < kMaxServerRetries) {
            co_await m_sleep(kServerRetryStep * (attempt + 1));
            ++attempt;
            continue;
        }
        throw AppError::http(status);
    }
}

// Cache files reach tens of megabytes, so they are read and written off the main thread.
QCoro::Task<QByteArray> Http::cachedGet(QString address, std::chrono::seconds ttl, bool force)
{
    const HttpCache cache = m_cache;
    if (!force) {
        QFuture<std::optional<QByteArray>> reading = QtConcurrent::run(
            [cache, address, ttl, now = m_clock->now()] { return cache.readFresh(address, ttl, now); });
        if (std::optional<QByteArray> fresh = co_await reading)
            co_return *fresh;
    }
    std::exception_ptr failure;
    try {
        QByteArray body = co_await get(address, kCachedDownloadTimeout);
        QFuture<void> writing = QtConcurrent::run([cache, address, body] { cache.write(address, body); });
        co_await writing;
        co_return body;
    } catch (...) {
        failure = std::current_exception();
    }
    if (!force) {
        QFuture<std::optional<QByteArray>> reading
            = QtConcurrent::run([cache, address] { return cache.readAny(address); });
        if (std::optional<QByteArray> stale = co_await reading)
            co_return *stale;
    }
    std::rethrow_exception(failure);
}

QCoro::Task<HttpResponse> Http::postJSON(QString address, QByteArray body, std::optional<qint64> answerCap)
{
    QNetworkRequest request = baseRequest(requestUrl(address));
    request.setRawHeader("Content-Type", "application/json; charset=utf-8");
    request.setRawHeader("Accept", "application/json");
    request.setHeader(QNetworkRequest::ContentLengthHeader, body.size());
    request.setAttribute(QNetworkRequest::DoNotBufferUploadDataAttribute, true);
    Exchange answer = co_await send(request, body, kPostTimeout, answerCap.value_or(m_bodyCap));
    // The transport asked to send the body again (the connection closed before an answer).
    if (answer.failure && answer.failure->code() == QNetworkReply::ContentReSendError)
        throw NetError(QNetworkReply::RemoteHostClosedError, answer.failure->detail());
    if (answer.failure)
        throw *answer.failure;
    co_return HttpResponse { answer.status.value_or(0), answer.body };
}

QCoro::Task<Http::Exchange> Http::send(QNetworkRequest request, std::optional<QByteArray> postBody,
    std::chrono::milliseconds timeout, qint64 bodyCap, CancelToken cancel)
{
    const HostLimiter::Permit permit = co_await m_limiter.acquire(hostKey(request.url()));
    if (cancel.isCancelled())
        co_return Exchange { .failure = NetError(QNetworkReply::OperationCanceledError) };
    request.setRawHeader("User-Agent", userAgentHeader());
    QNetworkReply *reply = postBody ? postOnce(request, *postBody) : m_network.get(request);
    cancel.onCancel(reply, [reply] { reply->abort(); });
    CappedBody body(reply, bodyCap);
    const bool timedOut = co_await finishWithin(reply, timeout);
    reply->deleteLater();

    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (timedOut)
        co_return Exchange { .failure = NetError(QNetworkReply::TimeoutError, reply->errorString()) };
    QByteArray bytes = body.take();
    if (body.overCap())
        throw AppError::badData();
    if (!isHttpAnswer(reply->error(), status))
        co_return Exchange { .failure = NetError(reply->error(), reply->errorString()) };
    // A success whose body broke on the way (a decompression bomb, bad encoding) is no answer.
    if (reply->error() != QNetworkReply::NoError && isSuccess(status.toInt()))
        throw AppError::badData();
    co_return Exchange { .status = status.isValid() ? std::optional(status.toInt()) : std::nullopt,
        .body = std::move(bytes) };
}

// Aborts the reply when no data moved for `timeout`, or when the whole transfer outlasts
// the resource limit. Gives whether it was aborted for that.
QCoro::Task<bool> Http::finishWithin(QNetworkReply *reply, std::chrono::milliseconds timeout)
{
    bool timedOut = false;
    const auto expire = [reply, &timedOut] {
        timedOut = true;
        reply->abort();
    };
    QTimer idle;
    idle.setSingleShot(true);
    QTimer whole;
    whole.setSingleShot(true);
    connect(&idle, &QTimer::timeout, reply, expire);
    connect(&whole, &QTimer::timeout, reply, expire);
    connect(reply, &QNetworkReply::downloadProgress, &idle, [&idle] { idle.start(); });
    connect(reply, &QNetworkReply::uploadProgress, &idle, [&idle] { idle.start(); });
    idle.start(timeout);
    whole.start(m_resourceTimeout);
    co_await reply;
    co_return timedOut;
}
