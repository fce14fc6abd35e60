// The address builders over any fields (one per line): stream, timeshift, catch-up and
// HLS addresses; credentials in paths decode back to themselves.
#include "FuzzCheck.h"
#include "sources/StreamAddresses.h"
#include "sources/XtreamClient.h"

#include <QUrl>

#include <cstdint>

namespace {

bool hasLoneSurrogate(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        else if (text.at(i).isSurrogate())
            return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QStringList fields
        = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size)).split(QLatin1Char('\n'));
    const auto field = [&](int i) { return i < fields.size() ? fields.at(i) : QString(); };
    const QDateTime start = QDateTime::fromSecsSinceEpoch(1710102615, QTimeZone::utc());
    const QDateTime end = start.addSecs(qint64(size) * 60 - 3600);
    const QDateTime now = start.addSecs(9000);
    const QTimeZone zone("Europe/Paris");

    Playlist playlist { 1, QStringLiteral("P"), QStringLiteral("xtream"), field(0), field(1), field(2),
        field(3), std::nullopt };
    const QString live = XtreamClient::liveUrl(playlist, field(4), field(5));
    XtreamClient::movieUrl(playlist, field(4), field(5));
    XtreamClient::seriesUrl(playlist, field(4), std::nullopt);
    XtreamClient::apiURL(playlist, field(5), field(6));
    xtreamCredentials(playlist);
    playlist.type = QStringLiteral("m3u");
    xtreamCredentials(playlist);
    isXtreamGetLink(playlist);

    const QString encoded = XtreamClient::percentEncode(field(2));
    if (!hasLoneSurrogate(field(2)))
        FUZZ_CHECK(QUrl::fromPercentEncoding(encoded.toUtf8()) == field(2));
    FUZZ_CHECK(live.contains(QLatin1Char('/') + encoded + QLatin1Char('/')));

    XtreamClient::timeshiftUrls(field(1), field(2), field(3), field(4), start, end, zone);
    XtreamClient::fillCatchupTemplate(field(6), start, end, zone, now);
    for (const char *mode : { "default", "append", "shift", "xc", "flussonic" })
        XtreamClient::m3uCatchupUrls(QString::fromLatin1(mode), field(6), field(7), start, end, zone, now);
    liveM3u8Url(field(7));
    return 0;
}
