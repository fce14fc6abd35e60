#include "DemoMedia.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

#include <cmath>

namespace {

constexpr int kWindow = 3;
constexpr int kFfmpegTimeoutMs = 120000;

const QStringList kH264 { "-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p", "-g", "50",
    "-sc_threshold", "0", "-c:a", "aac" };

QStringList lavfi(const QString &video, int frequency, int seconds)
{
    return { "-f", "lavfi", "-i",
        QStringLiteral("%1=size=640x360:rate=25:duration=%2").arg(video).arg(seconds), "-f", "lavfi", "-i",
        QStringLiteral("sine=frequency=%1:duration=%2").arg(frequency).arg(seconds) };
}

bool runFfmpeg(const QStringList &args, QString *problem)
{
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"), QStringList { "-y", "-loglevel", "error" } + args);
    if (!ffmpeg.waitForFinished(kFfmpegTimeoutMs) || ffmpeg.exitStatus() != QProcess::NormalExit
        || ffmpeg.exitCode() != 0) {
        *problem = QStringLiteral("ffmpeg failed: ") + ffmpeg.errorString() + u' '
            + QString::fromUtf8(ffmpeg.readAllStandardError()).trimmed();
        return false;
    }
    return true;
}

bool make(const QDir &folder, QString *problem)
{
    if (!folder.mkpath(QStringLiteral("hls"))) {
        *problem = QStringLiteral("cannot create ") + folder.path();
        return false;
    }
    return runFfmpeg(lavfi("testsrc2", 330, 30) + kH264
                   + QStringList { "-movflags", "+faststart", folder.filePath("film.mp4") },
               problem)
        && runFfmpeg(lavfi("smptebars", 440, 30) + kH264
                + QStringList { "-f", "mpegts", folder.filePath("channel.ts") },
            problem)
        && runFfmpeg(lavfi("testsrc", 550, 12) + kH264
                + QStringList { "-f", "hls", "-hls_time", "2", "-hls_list_size", "0", "-hls_segment_filename",
                    folder.filePath("hls/seg%d.ts"), folder.filePath("hls/index.m3u8") },
            problem);
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The segment files and durations listed by the made playlist.
void readHls(const QDir &folder, DemoMedia &media)
{
    static const QRegularExpression extinf(QStringLiteral(R"(#EXTINF:([0-9.]+),\s*\n([^\n#]+))"));
    const QString index = QString::fromUtf8(readAll(folder.filePath("hls/index.m3u8")));
    for (const QRegularExpressionMatch &match : extinf.globalMatch(index)) {
        const QByteArray segment
            = readAll(folder.filePath(QStringLiteral("hls/") + match.captured(2).trimmed()));
        if (segment.isEmpty())
            return;
        media.segments.append(segment);
        media.segmentSecs.append(match.captured(1).toDouble());
    }
}

DemoMedia load(const QDir &folder)
{
    DemoMedia media;
    media.mp4 = readAll(folder.filePath("film.mp4"));
    media.ts = readAll(folder.filePath("channel.ts"));
    readHls(folder, media);
    return media;
}

} // namespace

DemoMedia DemoMedia::prepare(const QString &folder, QString *problem)
{
    const QDir dir(folder);
    DemoMedia media = load(dir);
    if (!media.mp4.isEmpty() && !media.ts.isEmpty() && media.hasHls())
        return media;
    if (!make(dir, problem))
        return {};
    media = load(dir);
    if (media.mp4.isEmpty() || media.ts.isEmpty() || !media.hasHls()) {
        *problem = QStringLiteral("the clips made in %1 cannot be read").arg(folder);
        return {};
    }
    return media;
}

QByteArray liveHlsPlaylist(const QList<double> &segmentSecs, qint64 elapsedMs, const QString &segmentPrefix)
{
    const qint64 count = segmentSecs.size();
    double loopSecs = 0;
    double longest = 1;
    for (double secs : segmentSecs) {
        loopSecs += secs;
        longest = std::max(longest, secs);
    }
    if (count == 0 || loopSecs <= 0)
        return {};
    const double elapsed = std::max<qint64>(0, elapsedMs) / 1000.0;
    const qint64 loops = qint64(elapsed / loopSecs);
    double within = elapsed - loops * loopSecs;
    qint64 sequence = loops * count;
    for (qint64 i = 0; i < count && within >= segmentSecs[i]; ++i, ++sequence)
        within -= segmentSecs[i];

    QByteArray text = "#EXTM3U\n#EXT-X-VERSION:3\n";
    text += "#EXT-X-TARGETDURATION:" + QByteArray::number(qint64(std::ceil(longest))) + '\n';
    text += "#EXT-X-MEDIA-SEQUENCE:" + QByteArray::number(sequence) + '\n';
    text += "#EXT-X-DISCONTINUITY-SEQUENCE:" + QByteArray::number(sequence / count) + '\n';
    for (qint64 n = sequence; n < sequence + kWindow; ++n) {
        if (n > sequence && n % count == 0)
            text += "#EXT-X-DISCONTINUITY\n";
        text += "#EXTINF:" + QByteArray::number(segmentSecs[n % count], 'f', 3) + ",\n";
        text += (segmentPrefix + QString::number(n) + QStringLiteral(".ts\n")).toUtf8();
    }
    return text;
}
