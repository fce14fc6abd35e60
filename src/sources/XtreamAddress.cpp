#include "XtreamClient.h"

#include "DeviceIdentity.h"

#include <QUrl>
#include <QUrlQuery>

namespace {

bool isUnreserved(char32_t ch)
{
    if (ch == u'-' || ch == u'.' || ch == u'_' || ch == u'~')
        return true;
    switch (QChar::category(ch)) {
    case QChar::Letter_Uppercase:
    case QChar::Letter_Lowercase:
    case QChar::Letter_Titlecase:
    case QChar::Letter_Modifier:
    case QChar::Letter_Other:
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
    case QChar::Number_DecimalDigit:
    case QChar::Number_Letter:
    case QChar::Number_Other:
        return true;
    default:
        return false;
    }
}

void cutBefore(QString &text, QLatin1StringView marker)
{
    const qsizetype at = text.indexOf(marker, 0, Qt::CaseInsensitive);
    if (at >= 0)
        text.truncate(at);
}

void chopTrailingSlashes(QString &text)
{
    while (text.endsWith(u'/'))
        text.chop(1);
}

QString trimSpacesAndTabs(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    auto blank = [](QChar ch) { return ch == u'\t' || ch.category() == QChar::Separator_Space; };
    while (begin < end && blank(text.at(begin)))
        ++begin;
    while (end > begin && blank(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

} // namespace

namespace XtreamClient {

QString serverBase(const Playlist &playlist)
{
    QString base = normalizeServerAddress(playlist.host);
    cutBefore(base, QLatin1StringView("/player_api.php"));
    cutBefore(base, QLatin1StringView("/get.php"));
    cutBefore(base, QLatin1StringView("/xmltv.php"));
    chopTrailingSlashes(base);
    return base;
}

QString percentEncode(const OptText &text)
{
    if (!text)
        return {};
    QString out;
    out.reserve(text->size());
    for (qsizetype i = 0; i < text->size(); ++i) {
        char32_t ch = text->at(i).unicode();
        if (QChar::isHighSurrogate(ch) && i + 1 < text->size() && text->at(i + 1).isLowSurrogate())
            ch = QChar::surrogateToUcs4(char16_t(ch), text->at(++i).unicode());
        else if (QChar::isSurrogate(ch))
            return {}; // a lone surrogate cannot be written as UTF-8
        if (isUnreserved(ch)) {
            out += QString::fromUcs4(&ch, 1);
            continue;
        }
        static constexpr char kHex[] = "0123456789ABCDEF";
        const QByteArray bytes = QString::fromUcs4(&ch, 1).toUtf8();
        for (char byte : bytes) {
            out += u'%';
            out += QLatin1Char(kHex[uchar(byte) >> 4]);
            out += QLatin1Char(kHex[uchar(byte) & 0xF]);
        }
    }
    return out;
}

QString urlOrigin(const QUrl &url)
{
    QString host = url.host();
    if (host.contains(u':'))
        host = u'[' + host + u']';
    return url.scheme() + QStringLiteral("://") + host
        + (url.port() >= 0 ? QLatin1Char(':') + QString::number(url.port()) : QString());
}

QString apiURL(const Playlist &playlist, const OptText &action, const QString &extra)
{
    QString url = serverBase(playlist) + QStringLiteral("/player_api.php?username=")
        + percentEncode(playlist.username) + QStringLiteral("&password=") + percentEncode(playlist.password);
    if (action)
        url += QStringLiteral("&action=") + *action + extra;
    return url;
}

} // namespace XtreamClient

bool isXtreamPlaylist(const Playlist &playlist)
{
    return playlist.type.compare(QLatin1StringView("xtream"), Qt::CaseInsensitive) == 0;
}

std::optional<Playlist> xtreamCredentials(const Playlist &playlist)
{
    if (isXtreamPlaylist(playlist))
        return playlist;
    if (!playlist.url)
        return std::nullopt;
    const QUrl url(trimSpacesAndTabs(*playlist.url), QUrl::StrictMode);
    if (!url.isValid() || url.scheme().isEmpty() || url.host().isEmpty())
        return std::nullopt;
    const QUrlQuery query(url);
    const QString username = query.queryItemValue(QStringLiteral("username"), QUrl::FullyDecoded);
    const QString password = query.queryItemValue(QStringLiteral("password"), QUrl::FullyDecoded);
    if (username.isEmpty() || password.isEmpty())
        return std::nullopt;
    Playlist result = playlist;
    result.type = QStringLiteral("xtream");
    result.url.reset();
    result.host = XtreamClient::urlOrigin(url);
    result.username = username;
    result.password = password;
    return result;
}

bool isXtreamGetLink(const Playlist &playlist)
{
    if (isXtreamPlaylist(playlist) || !xtreamCredentials(playlist))
        return false;
    const QUrl url(*playlist.url, QUrl::StrictMode);
    return url.isValid() && url.path().toLower().endsWith(QLatin1StringView("/get.php"));
}
