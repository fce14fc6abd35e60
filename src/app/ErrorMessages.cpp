#include "ErrorMessages.h"

#include "Formatters.h"
#include "Localization.h"
#include "sources/AppError.h"

#include <simdjson.h>

namespace {

struct MessageKey {
    const char *key;
    TrArgs args;
};

MessageKey httpStatusKey(int status)
{
    if (status == 401 || status == 403)
        return { "err_http_denied", {} };
    if (status == 404)
        return { "err_http_not_found", {} };
    if (status >= 500 && status <= 599)
        return { "err_http_server", { qint64(status) } };
    if (status < 800)
        return { "err_http_code", { qint64(status) } };
    return { "err_provider_refused", { qint64(status) } };
}

MessageKey appErrorKey(const AppError &error)
{
    switch (error.kind()) {
    case AppError::Kind::http:
        return httpStatusKey(error.status());
    case AppError::Kind::server:
        return { "err_server_said", { error.message() } };
    case AppError::Kind::xtreamExpired:
        if (const auto expiry = error.expiry())
            return { "err_xtream_expired_on", { formatDate(*expiry) } };
        return { "err_xtream_expired", {} };
    case AppError::Kind::xtreamAuth:
        return { "err_xtream_auth", {} };
    case AppError::Kind::emptyPlaylist:
        return { "err_empty_playlist", {} };
    case AppError::Kind::badData:
        return { "err_bad_data", {} };
    case AppError::Kind::badUrl:
        return { "err_bad_url", {} };
    }
    return { "err_generic", {} };
}

MessageKey netErrorKey(const NetError &error)
{
    switch (error.code()) {
    case QNetworkReply::SslHandshakeFailedError:
        return { "err_ssl", {} };
    case QNetworkReply::HostNotFoundError:
        return { "err_unknown_host", {} };
    case QNetworkReply::ConnectionRefusedError:
        return { "err_connect", {} };
    case QNetworkReply::ProtocolUnknownError:
        return { "err_bad_url", {} };
    case QNetworkReply::TimeoutError:
        return { "err_timeout", {} };
    default:
        return { "err_network", {} };
    }
}

MessageKey messageKey(const std::exception_ptr &error)
{
    if (!error)
        return { "err_generic", {} };
    try {
        std::rethrow_exception(error);
    } catch (const AppError &appError) {
        return appErrorKey(appError);
    } catch (const NetError &netError) {
        return netErrorKey(netError);
    } catch (const DecodingError &) {
        return { "err_bad_data", {} };
    } catch (const simdjson::simdjson_error &) {
        return { "err_bad_data", {} };
    } catch (...) {
        return { "err_generic", {} };
    }
}

} // namespace

QString userMessage(const std::exception_ptr &error)
{
    const MessageKey message = messageKey(error);
    return tr(QString::fromLatin1(message.key), message.args);
}
