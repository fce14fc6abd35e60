#include "NetworkStream.h"

#include <QStringList>

bool isNetworkStream(const QUrl &url)
{
    static const QStringList kSchemes { QStringLiteral("http"), QStringLiteral("https"),
        QStringLiteral("hls"), QStringLiteral("rtsp"), QStringLiteral("rtsps"), QStringLiteral("rtspt"),
        QStringLiteral("rtspu"), QStringLiteral("rtmp"), QStringLiteral("rtmps"), QStringLiteral("rtmpt"),
        QStringLiteral("rtmpe"), QStringLiteral("rtp"), QStringLiteral("udp"), QStringLiteral("mms"),
        QStringLiteral("mmsh"), QStringLiteral("mmst"), QStringLiteral("mmsu"), QStringLiteral("srt") };
    return kSchemes.contains(url.scheme(), Qt::CaseInsensitive);
}
