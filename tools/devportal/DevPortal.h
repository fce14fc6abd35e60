#pragma once

#include "DemoMedia.h"
#include "LoopbackServer.h"
#include "PortalPlaylists.h"
#include "model/Records.h"

#include <QElapsedTimer>
#include <QHash>
#include <QObject>

struct DevPortalOptions {
    quint16 port = 8787; // 0: any free port
    int playlists = 2; // 0, 1 (the Xtream-Codes account) or 2 (and the M3U playlist)
    int failStatus = 0; // when set, the device request gets this status and an error body
    QList<ExtraPlaylist> extras; // listed after the demo playlists, in this order
};

// A device portal and the provider behind it, on 127.0.0.1: "/api/app/device" answers the
// device record; "/player_api.php", "/get.php" and "/demo.m3u" serve the demo catalogue;
// "/img/..." its pictures; "/live", "/movie", "/series", "/timeshift" and "/hls" its streams.
// Playlists added from the command line are served under "/extra/<n>.m3u" (a local file)
// and "/x/<n>/player_api.php" (captured Xtream-Codes answers), n counting from 0.
class DevPortal : public QObject {
    Q_OBJECT
public:
    static inline const QString kDevicePath = QStringLiteral("/api/app/device");
    static inline const QString kM3uPath = QStringLiteral("/demo.m3u");
    // Ids of the added playlists start here, after the demo ones.
    static constexpr qint64 kFirstExtraId = 3;

    DevPortal(DevPortalOptions options, DemoMedia media, QObject *parent = nullptr);

    bool isListening() const { return m_server.isListening(); }
    QString errorString() const { return m_server.errorString(); }
    QString baseUrl() const { return m_server.baseUrl(); }
    LoopbackServer &server() { return m_server; }

    // The record answered to a device with this address.
    DeviceResponse deviceRecord(const QString &mac) const;

private:
    void addRoutes();
    LoopbackResponse device(const LoopbackRequest &request) const;
    LoopbackResponse api(const LoopbackRequest &request) const;
    LoopbackResponse getPhp(const LoopbackRequest &request) const;
    LoopbackResponse image(const LoopbackRequest &request);
    LoopbackResponse stream(const LoopbackRequest &request) const;
    LoopbackResponse segment(const LoopbackRequest &request) const;
    LoopbackResponse streamFile(const QString &kind, const QString &file) const;
    Playlist extraPlaylist(int index) const;
    static LoopbackResponse capturedAnswer(const QString &folder, const LoopbackRequest &request);

    DevPortalOptions m_options;
    DemoMedia m_media;
    LoopbackServer m_server;
    QElapsedTimer m_liveClock;
    QHash<QString, QByteArray> m_images;
};
