#include "VlcSourceError.h"

#include <QRegularExpression>

std::optional<PlayError> vlcSourceError(QByteArrayView message)
{
    using namespace PlayErrorCode;
    const QString text = QString::fromUtf8(message);
    // "HTTP 404 error" from the access, "error: HTTP/1.1 404 Not Found" from the older module.
    static const QRegularExpression status(
        QStringLiteral("^(?:HTTP (\\d{3}) error|error: HTTP/\\d\\.\\d (\\d{3}))"));
    if (const QRegularExpressionMatch match = status.match(text); match.hasMatch())
        return httpStatusError((match.captured(1) + match.captured(2)).toInt());
    if (text.startsWith(QLatin1String("cannot resolve")))
        return PlayError { PlayError::Domain::url, { kCannotFindHost } };
    if (text.contains(QLatin1String("timed out"), Qt::CaseInsensitive))
        return PlayError { PlayError::Domain::url, { kTimedOut } };
    if (text.startsWith(QLatin1String("connection failed"))
        || text.startsWith(QLatin1String("cannot connect")))
        return PlayError { PlayError::Domain::url, { kCannotConnect } };
    return std::nullopt;
}
