#include "AppError.h"

#include <QMetaEnum>

namespace {

std::string describe(AppError::Kind kind, int status)
{
    switch (kind) {
    case AppError::Kind::http:
        return "HTTP status " + std::to_string(status);
    case AppError::Kind::server:
        return "server error " + std::to_string(status);
    case AppError::Kind::xtreamExpired:
        return "Xtream-Codes account expired";
    case AppError::Kind::xtreamAuth:
        return "Xtream-Codes login refused";
    case AppError::Kind::emptyPlaylist:
        return "empty playlist";
    case AppError::Kind::badData:
        return "unexpected data";
    case AppError::Kind::badUrl:
        return "invalid URL";
    }
    return "error";
}

} // namespace

AppError::AppError(Kind kind, int status, const QString &message, std::optional<QDateTime> expiry)
    : m_kind(kind)
    , m_status(status)
    , m_message(message)
    , m_expiry(std::move(expiry))
    , m_what(describe(kind, status))
{
}

AppError AppError::http(int status)
{
    return AppError(Kind::http, status);
}
AppError AppError::server(int code, const QString &message)
{
    return AppError(Kind::server, code, message);
}
AppError AppError::xtreamExpired(std::optional<QDateTime> expiry)
{
    return AppError(Kind::xtreamExpired, 0, {}, std::move(expiry));
}
AppError AppError::xtreamAuth()
{
    return AppError(Kind::xtreamAuth);
}
AppError AppError::emptyPlaylist()
{
    return AppError(Kind::emptyPlaylist);
}
AppError AppError::badData()
{
    return AppError(Kind::badData);
}
AppError AppError::badUrl()
{
    return AppError(Kind::badUrl);
}

bool AppError::operator==(const AppError &other) const
{
    return m_kind == other.m_kind && m_status == other.m_status && m_message == other.m_message
        && m_expiry == other.m_expiry;
}

NetError::NetError(QNetworkReply::NetworkError code, const QString &detail)
    : m_code(code)
    , m_detail(detail)
{
    const char *name = QMetaEnum::fromType<QNetworkReply::NetworkError>().valueToKey(code);
    m_what = std::string("network error ") + (name ? name : std::to_string(code).c_str());
}

bool NetError::isTimeoutOrConnectionLost() const
{
    return m_code == QNetworkReply::TimeoutError || m_code == QNetworkReply::RemoteHostClosedError;
}

bool isCancellation(const std::exception_ptr &error)
{
    if (!error)
        return false;
    try {
        std::rethrow_exception(error);
    } catch (const NetError &netError) {
        return netError.isCancelled();
    } catch (...) {
        return false;
    }
}
