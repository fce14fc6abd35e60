#include "NetworkStream.h"

#include <QStringList>

bool isNetworkScheme(QStringView scheme)
{
    // Spellings the engines' network sources also answer to: Shoutcast over HTTP, RTSP over
    // HTTP or TLS or with its description inline, RTMP over HTTP, encrypted or peer to peer.
    static const QStringList kSchemes { QStringLiteral("http"), QStringLiteral("https"),
        QStringLiteral("hls"), QStringLiteral("icy"), QStringLiteral("icyx"), QStringLiteral("rtsp"),
        QStringLiteral("rtsps"), QStringLiteral("rtspt"), QStringLiteral("rtspu"), QStringLiteral("rtsph"),
        QStringLiteral("rtspsh"), QStringLiteral("rtspst"), QStringLiteral("rtspsu"),
        QStringLiteral("rtsp-sdp"), QStringLiteral("rtmp"), QStringLiteral("rtmps"), QStringLiteral("rtmpt"),
        QStringLiteral("rtmpe"), QStringLiteral("rtmpts"), QStringLiteral("rtmpte"), QStringLiteral("rtmfp"),
        QStringLiteral("rtp"), QStringLiteral("udp"), QStringLiteral("mms"), QStringLiteral("mmsh"),
        QStringLiteral("mmst"), QStringLiteral("mmsu"), QStringLiteral("srt") };
    return kSchemes.contains(scheme, Qt::CaseInsensitive);
}

bool isNetworkStream(const QUrl &url)
{
    return isNetworkScheme(url.scheme());
}
