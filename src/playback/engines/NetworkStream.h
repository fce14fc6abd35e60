#pragma once

#include <QStringView>
#include <QUrl>

// Whether the address names a stream on the network (http, https, rtsp, rtmp, udp...).
// Provider addresses are untrusted: file:, smb:, dvd: and the like would open local
// files or devices, so they are never played.
bool isNetworkStream(const QUrl &url);
// The same rule for a scheme alone (no colon), in any case.
bool isNetworkScheme(QStringView scheme);
