#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The demo provider's streams: a film clip (MP4), a channel clip (MPEG-TS) and a short run
// of HLS segments that the live playlist loops over.
struct DemoMedia {
    QByteArray mp4;
    QByteArray ts;
    QList<QByteArray> segments;
    QList<double> segmentSecs;

    bool hasHls() const { return !segments.isEmpty() && segments.size() == segmentSecs.size(); }

    // Reads the clips from `folder`, making them with ffmpeg first when one is missing.
    // On failure the result is empty and `problem` says why.
    static DemoMedia prepare(const QString &folder, QString *problem);
};

// The live HLS playlist `elapsedMs` after the stream began: a window of three segments
// sliding over the looping segments, segment n at `segmentPrefix` + n + ".ts", with a
// discontinuity wherever the loop starts again.
QByteArray liveHlsPlaylist(const QList<double> &segmentSecs, qint64 elapsedMs, const QString &segmentPrefix);
