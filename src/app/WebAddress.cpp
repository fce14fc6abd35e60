#include "WebAddress.h"

std::optional<QUrl> webPageUrl(const QString &address)
{
    const QUrl url(address, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty())
        return std::nullopt;
    if (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https"))
        return std::nullopt;
    return url;
}

std::optional<QUrl> mailtoUrl(const QString &email)
{
    static const QString kForbidden = QStringLiteral("?&%,;");
    const qsizetype at = email.indexOf(QLatin1Char('@'));
    if (at <= 0 || at == email.size() - 1 || email.count(QLatin1Char('@')) != 1)
        return std::nullopt;
    for (const QChar c : email) {
        if (c.isSpace() || c.category() == QChar::Other_Control || c.category() == QChar::Other_Format
            || kForbidden.contains(c))
            return std::nullopt;
    }
    QUrl url;
    url.setScheme(QStringLiteral("mailto"));
    url.setPath(email);
    if (!url.isValid())
        return std::nullopt;
    return url;
}
