#include "StreamAddresses.h"

#include "XtreamClient.h"

#include <QRegularExpression>
#include <QUrl>

#include <algorithm>

namespace {

qint64 wholeSeconds(const QDateTime &date)
{
    // Integer division truncates toward zero, also before 1970.
    return date.toMSecsSinceEpoch() / 1000;
}

QStringList pathPieces(const QUrl &url)
{
    return url.path().split(QLatin1Char('/'), Qt::SkipEmptyParts);
}

bool isDecimalInteger(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^[+-]?[0-9]+$"));
    return pattern.match(text).hasMatch();
}

std::optional<QString> placeholderValue(const QString &name, const QDateTime &start, const QDateTime &end,
    const QTimeZone &zone, const QDateTime &now)
{
    const qint64 s = wholeSeconds(start);
    const qint64 e = wholeSeconds(end);
    const qint64 n = wholeSeconds(now);
    if (name == u"utc" || name == u"start")
        return QString::number(s);
    if (name == u"utcend" || name == u"end")
        return QString::number(e);
    if (name == u"timestamp" || name == u"lutc" || name == u"now")
        return QString::number(n);
    if (name == u"duration")
        return QString::number(e - s);
    if (name == u"offset")
        return QString::number(n - s);
    static const QHash<QString, QString> datePatterns {
        { QStringLiteral("Y"), QStringLiteral("yyyy") },
        { QStringLiteral("m"), QStringLiteral("MM") },
        { QStringLiteral("d"), QStringLiteral("dd") },
        { QStringLiteral("H"), QStringLiteral("HH") },
        { QStringLiteral("M"), QStringLiteral("mm") },
        { QStringLiteral("S"), QStringLiteral("ss") },
    };
    const auto pattern = datePatterns.constFind(name);
    if (pattern == datePatterns.cend())
        return std::nullopt;
    return XtreamClient::formatDate(start, *pattern, zone);
}

// The "xc" path form: scheme://host[:port]/[live/]user/pass/stream.ext
std::optional<AddressPair> pathFormUrls(
    const QString &channelUrl, const QDateTime &start, const QDateTime &end, const QTimeZone &zone)
{
    const QUrl url(channelUrl);
    if (!url.isValid() || url.scheme().isEmpty() || url.host().isEmpty())
        return std::nullopt;
    QStringList pieces = pathPieces(url);
    if (!pieces.isEmpty() && pieces.first() == u"live")
        pieces.removeFirst();
    if (pieces.size() != 3)
        return std::nullopt;
    const QStringList streamParts = pieces[2].split(QLatin1Char('.'), Qt::SkipEmptyParts);
    if (streamParts.isEmpty())
        return std::nullopt;
    return XtreamClient::timeshiftUrls(
        XtreamClient::urlOrigin(url), pieces[0], pieces[1], streamParts.first(), start, end, zone);
}

} // namespace

namespace XtreamClient {

QString streamUrl(const Playlist &playlist, const QString &kind, const QString &id, const OptText &ext)
{
    return serverBase(playlist) + QLatin1Char('/') + kind + QLatin1Char('/')
        + percentEncode(playlist.username) + QLatin1Char('/') + percentEncode(playlist.password)
        + QLatin1Char('/') + id + QLatin1Char('.') + ext.value_or(QStringLiteral("mp4"));
}

QString liveUrl(const Playlist &playlist, const QString &streamId, const QString &ext)
{
    return streamUrl(playlist, QStringLiteral("live"), streamId, ext);
}

QString movieUrl(const Playlist &playlist, const QString &id, const OptText &ext)
{
    return streamUrl(playlist, QStringLiteral("movie"), id, ext);
}

QString seriesUrl(const Playlist &playlist, const QString &id, const OptText &ext)
{
    return streamUrl(playlist, QStringLiteral("series"), id, ext);
}

QString timeshiftDate(const QDateTime &date, const QTimeZone &timeZone)
{
    return formatDate(date, QStringLiteral("yyyy-MM-dd:HH-mm"), timeZone);
}

AddressPair timeshiftUrls(const QString &serverBase, const QString &user, const QString &pass,
    const QString &streamId, const QDateTime &start, const QDateTime &end, const QTimeZone &timeZone)
{
    const qint64 minutes = std::max<qint64>(1, (end.toMSecsSinceEpoch() - start.toMSecsSinceEpoch()) / 60000);
    const QString minutesText = QString::number(minutes);
    const QString startText = timeshiftDate(start, timeZone);
    const QString path = serverBase + QStringLiteral("/timeshift/") + percentEncode(user) + QLatin1Char('/')
        + percentEncode(pass) + QLatin1Char('/') + minutesText + QLatin1Char('/') + startText
        + QLatin1Char('/') + streamId + QStringLiteral(".m3u8");
    const QString php = serverBase + QStringLiteral("/streaming/timeshift.php?username=")
        + percentEncode(user) + QStringLiteral("&password=") + percentEncode(pass)
        + QStringLiteral("&stream=") + percentEncode(streamId) + QStringLiteral("&start=") + startText
        + QStringLiteral("&duration=") + minutesText + QStringLiteral("&extension=m3u8");
    return { path, php };
}

QString fillCatchupTemplate(const QString &tmpl, const QDateTime &start, const QDateTime &end,
    const QTimeZone &timeZone, const QDateTime &now)
{
    static const QRegularExpression placeholder(QStringLiteral("\\$?\\{([A-Za-z]+)\\}"));
    QList<QRegularExpressionMatch> matches;
    for (auto it = placeholder.globalMatch(tmpl); it.hasNext();)
        matches.append(it.next());
    QString filled = tmpl;
    // From the last match to the first, so earlier offsets stay valid.
    for (auto match = matches.crbegin(); match != matches.crend(); ++match) {
        const auto value = placeholderValue(match->captured(1), start, end, timeZone, now);
        if (value)
            filled.replace(match->capturedStart(), match->capturedLength(), *value);
    }
    return filled;
}

std::optional<AddressPair> m3uCatchupUrls(const QString &mode, const OptText &source, const QString &url,
    const QDateTime &start, const QDateTime &end, const QTimeZone &timeZone, const QDateTime &now)
{
    const QString tmpl = source.value_or(QString());
    if (mode == u"default")
        return AddressPair { fillCatchupTemplate(tmpl, start, end, timeZone, now), std::nullopt };
    if (mode == u"append")
        return AddressPair { url + fillCatchupTemplate(tmpl, start, end, timeZone, now), std::nullopt };
    if (mode == u"shift") {
        const QChar joiner = url.contains(QLatin1Char('?')) ? QLatin1Char('&') : QLatin1Char('?');
        return AddressPair { url + joiner + QStringLiteral("utc=") + QString::number(wholeSeconds(start))
                + QStringLiteral("&lutc=") + QString::number(wholeSeconds(now)),
            std::nullopt };
    }
    return pathFormUrls(url, start, end, timeZone);
}

} // namespace XtreamClient

QString addressWithoutHeaders(const QString &url)
{
    const qsizetype bar = url.indexOf(QLatin1Char('|'));
    return bar < 0 ? url : url.first(bar);
}

OptText liveM3u8Url(const QString &address)
{
    QUrl url(address, QUrl::StrictMode);
    if (!url.isValid() || url.hasQuery())
        return std::nullopt;
    const QString path = url.path(QUrl::FullyEncoded);
    const QStringList pieces = pathPieces(url);
    // A path ending in "/" names no stream file to rewrite.
    if (pieces.size() < 3 || path.endsWith(QLatin1Char('/')))
        return std::nullopt;
    const QString last = pieces.last().toLower();
    if (last.endsWith(QStringLiteral(".m3u8")))
        return std::nullopt;
    if (last.endsWith(QStringLiteral(".ts")))
        url.setPath(path.chopped(3) + QStringLiteral(".m3u8"), QUrl::TolerantMode);
    else if (!last.contains(QLatin1Char('.')) && isDecimalInteger(last))
        url.setPath(path + QStringLiteral(".m3u8"), QUrl::TolerantMode);
    else
        return std::nullopt;
    return url.toString(QUrl::FullyEncoded);
}
