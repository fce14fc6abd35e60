#include "app/ErrorMessages.h"
#include "app/Localization.h"
#include "sources/AppError.h"

#include <gtest/gtest.h>
#include <simdjson.h>

#include <stdexcept>

namespace {

// Noon UTC keeps the calendar day the same in every local time zone of the tests.
const QDateTime kExpiry = QDateTime(QDate(2025, 1, 6), QTime(12, 0), Qt::UTC);

template <typename E> std::exception_ptr thrown(E error)
{
    return std::make_exception_ptr(std::move(error));
}

std::exception_ptr net(QNetworkReply::NetworkError code)
{
    return thrown(NetError(code));
}

const QString kDenied = u"Access denied. Check your credentials or subscription."_qs;
const QString kBadUrl = u"The URL is not valid. Check the address."_qs;
const QString kBadData = u"The server returned unexpected data."_qs;
const QString kNetwork = u"Network error. Check your internet connection."_qs;
const QString kGeneric = u"An unexpected error occurred."_qs;

QString serverProblem(int status)
{
    return u"The server has a problem (%1). Try again later."_qs.arg(status);
}

QString answeredWith(int status)
{
    return u"The server answered with error %1."_qs.arg(status);
}

QString providerRefused(int status)
{
    return u"The IPTV provider refused the connection (code %1). The account may be limited or "
           u"blocked — contact your IPTV provider."_qs.arg(status);
}

TEST(ErrorMessage, WordsEveryErrorInEnglish)
{
    const std::pair<int, QString> statuses[] = { { 401, kDenied }, { 403, kDenied },
        { 404, u"Not found (404). Check the playlist URL."_qs }, { 500, serverProblem(500) },
        { 503, serverProblem(503) }, { 599, serverProblem(599) }, { 429, answeredWith(429) },
        { 400, answeredWith(400) }, { 600, answeredWith(600) }, { 799, answeredWith(799) },
        { 0, answeredWith(0) }, { -7, answeredWith(-7) }, { 800, providerRefused(800) },
        { 884, providerRefused(884) } };
    setActiveLanguage(u"en"_qs);
    for (const auto &[status, text] : statuses)
        EXPECT_EQ(userMessage(thrown(AppError::http(status))), text) << status;
    const std::pair<std::exception_ptr, QString> rows[]
        = { { thrown(AppError::server(403, u"Device is blocked"_qs)), u"Server: Device is blocked"_qs },
              { thrown(AppError::xtreamExpired(kExpiry)),
                  u"Your IPTV subscription expired on Jan 6, 2025. Contact your IPTV provider."_qs },
              { thrown(AppError::xtreamExpired(std::nullopt)),
                  u"Your IPTV subscription has expired. Contact your IPTV provider."_qs },
              { thrown(AppError::xtreamAuth()),
                  u"IPTV login refused: wrong username/password, or the subscription has expired."_qs },
              { thrown(AppError::emptyPlaylist()), u"This playlist is empty or could not be read."_qs },
              { thrown(AppError::badData()), kBadData }, { thrown(AppError::badUrl()), kBadUrl },
              { net(QNetworkReply::SslHandshakeFailedError), u"Secure connection failed (SSL)."_qs },
              { net(QNetworkReply::HostNotFoundError),
                  u"Server not found. Check the address and your internet connection."_qs },
              { net(QNetworkReply::ConnectionRefusedError),
                  u"Connection refused. Is the server running and the address correct?"_qs },
              { net(QNetworkReply::ProtocolUnknownError), kBadUrl },
              { net(QNetworkReply::TimeoutError), u"The server took too long to answer."_qs },
              { net(QNetworkReply::RemoteHostClosedError), kNetwork },
              { net(QNetworkReply::OperationCanceledError), kNetwork },
              { net(QNetworkReply::TemporaryNetworkFailureError), kNetwork },
              { net(QNetworkReply::UnknownNetworkError), kNetwork },
              { thrown(DecodingError("not JSON")), kBadData },
              { thrown(simdjson::simdjson_error(simdjson::TAPE_ERROR)), kBadData },
              { thrown(std::runtime_error("disk full")), kGeneric }, { thrown(42), kGeneric },
              { std::exception_ptr(), kGeneric } };
    for (int i = 0; i < int(std::size(rows)); ++i)
        EXPECT_EQ(userMessage(rows[i].first), rows[i].second) << "row " << i;
}

TEST(ErrorMessageLanguage, FollowsTheActiveLanguageAndItsDates)
{
    setActiveLanguage(u"fr"_qs);
    const QString status = userMessage(thrown(AppError::http(503)));
    const QString expired = userMessage(thrown(AppError::xtreamExpired(kExpiry)));
    setActiveLanguage(u"en"_qs);

    EXPECT_TRUE(status.contains(QLatin1String("503"))) << qPrintable(status);
    EXPECT_NE(status, serverProblem(503));
    EXPECT_TRUE(expired.contains(QString::fromUtf8("6 janv. 2025"))) << qPrintable(expired);
}

} // namespace
