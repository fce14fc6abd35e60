#include "app/ErrorMessages.h"
#include "app/Localization.h"
#include "sources/AppError.h"

#include <gtest/gtest.h>
#include <simdjson.h>

#include <stdexcept>

namespace {

// Noon UTC keeps the calendar day the same in every local time zone of the tests.
const QDateTime kExpiry = QDateTime(QDate(2025, 1, 6), QTime(12, 0), Qt::UTC);

struct MessageCase {
    const char *name;
    std::exception_ptr error;
    QString english;
};

class ErrorMessage : public ::testing::TestWithParam<MessageCase> {
protected:
    void SetUp() override { setActiveLanguage(QStringLiteral("en")); }
};

TEST_P(ErrorMessage, WordsTheErrorInEnglish)
{
    EXPECT_EQ(userMessage(GetParam().error), GetParam().english);
}

template <typename E> std::exception_ptr thrown(E error)
{
    return std::make_exception_ptr(std::move(error));
}

std::exception_ptr net(QNetworkReply::NetworkError code)
{
    return thrown(NetError(code));
}

const QString kDenied = QStringLiteral("Access denied. Check your credentials or subscription.");
const QString kBadUrl = QStringLiteral("The URL is not valid. Check the address.");
const QString kBadData = QStringLiteral("The server returned unexpected data.");
const QString kNetwork = QStringLiteral("Network error. Check your internet connection.");
const QString kGeneric = QStringLiteral("An unexpected error occurred.");

QString serverProblem(int status)
{
    return QStringLiteral("The server has a problem (%1). Try again later.").arg(status);
}

QString answeredWith(int status)
{
    return QStringLiteral("The server answered with error %1.").arg(status);
}

QString providerRefused(int status)
{
    return QString::fromUtf8(
        "The IPTV provider refused the connection (code %1). The account may be limited or "
        "blocked — contact your IPTV provider.")
        .arg(status);
}

INSTANTIATE_TEST_SUITE_P(HttpStatus, ErrorMessage,
    ::testing::Values(MessageCase { "unauthorized", thrown(AppError::http(401)), kDenied },
        MessageCase { "forbidden", thrown(AppError::http(403)), kDenied },
        MessageCase { "not_found", thrown(AppError::http(404)),
            QStringLiteral("Not found (404). Check the playlist URL.") },
        MessageCase { "first_server_error", thrown(AppError::http(500)), serverProblem(500) },
        MessageCase { "unavailable", thrown(AppError::http(503)), serverProblem(503) },
        MessageCase { "last_server_error", thrown(AppError::http(599)), serverProblem(599) },
        MessageCase { "too_many_requests", thrown(AppError::http(429)), answeredWith(429) },
        MessageCase { "bad_request", thrown(AppError::http(400)), answeredWith(400) },
        MessageCase { "above_server_range", thrown(AppError::http(600)), answeredWith(600) },
        MessageCase { "last_plain_code", thrown(AppError::http(799)), answeredWith(799) },
        MessageCase { "zero", thrown(AppError::http(0)), answeredWith(0) },
        MessageCase { "negative", thrown(AppError::http(-7)), answeredWith(-7) },
        MessageCase { "first_provider_code", thrown(AppError::http(800)), providerRefused(800) },
        MessageCase { "provider_code", thrown(AppError::http(884)), providerRefused(884) }),
    [](const auto &info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(ContentErrors, ErrorMessage,
    ::testing::Values(
        MessageCase { "server_message", thrown(AppError::server(403, QStringLiteral("Device is blocked"))),
            QStringLiteral("Server: Device is blocked") },
        MessageCase { "expired_on_date", thrown(AppError::xtreamExpired(kExpiry)),
            QStringLiteral("Your IPTV subscription expired on Jan 6, 2025. Contact your IPTV provider.") },
        MessageCase { "expired_without_date", thrown(AppError::xtreamExpired(std::nullopt)),
            QStringLiteral("Your IPTV subscription has expired. Contact your IPTV provider.") },
        MessageCase { "login_refused", thrown(AppError::xtreamAuth()),
            QStringLiteral("IPTV login refused: wrong username/password, or the subscription has expired.") },
        MessageCase { "empty_playlist", thrown(AppError::emptyPlaylist()),
            QStringLiteral("This playlist is empty or could not be read.") },
        MessageCase { "bad_data", thrown(AppError::badData()), kBadData },
        MessageCase { "bad_url", thrown(AppError::badUrl()), kBadUrl }),
    [](const auto &info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(Transport, ErrorMessage,
    ::testing::Values(MessageCase { "ssl", net(QNetworkReply::SslHandshakeFailedError),
                          QStringLiteral("Secure connection failed (SSL).") },
        MessageCase { "unknown_host", net(QNetworkReply::HostNotFoundError),
            QStringLiteral("Server not found. Check the address and your internet connection.") },
        MessageCase { "refused", net(QNetworkReply::ConnectionRefusedError),
            QStringLiteral("Connection refused. Is the server running and the address correct?") },
        MessageCase { "unsupported_scheme", net(QNetworkReply::ProtocolUnknownError), kBadUrl },
        MessageCase { "timeout", net(QNetworkReply::TimeoutError),
            QStringLiteral("The server took too long to answer.") },
        MessageCase { "connection_lost", net(QNetworkReply::RemoteHostClosedError), kNetwork },
        MessageCase { "cancelled", net(QNetworkReply::OperationCanceledError), kNetwork },
        MessageCase { "temporary_failure", net(QNetworkReply::TemporaryNetworkFailureError), kNetwork },
        MessageCase { "unknown_network", net(QNetworkReply::UnknownNetworkError), kNetwork }),
    [](const auto &info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(OtherErrors, ErrorMessage,
    ::testing::Values(MessageCase { "decoding", thrown(DecodingError("not JSON")), kBadData },
        MessageCase { "json_reader", thrown(simdjson::simdjson_error(simdjson::TAPE_ERROR)), kBadData },
        MessageCase { "unrelated", thrown(std::runtime_error("disk full")), kGeneric },
        MessageCase { "not_an_exception", thrown(42), kGeneric },
        MessageCase { "none", std::exception_ptr(), kGeneric }),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ErrorMessageLanguage, FollowsTheActiveLanguageAndItsDates)
{
    setActiveLanguage(QStringLiteral("fr"));
    const QString status = userMessage(thrown(AppError::http(503)));
    const QString expired = userMessage(thrown(AppError::xtreamExpired(kExpiry)));
    setActiveLanguage(QStringLiteral("en"));

    EXPECT_TRUE(status.contains(QLatin1String("503"))) << qPrintable(status);
    EXPECT_NE(status, serverProblem(503));
    EXPECT_TRUE(expired.contains(QString::fromUtf8("6 janv. 2025"))) << qPrintable(expired);
}

} // namespace
