#include "BenchCommands.h"

#include "sources/M3uCollector.h"

#include <QElapsedTimer>

#include <cstdio>

namespace {

// M3U bytes to the three built sections.
int runM3u(const QStringList &args)
{
    if (args.isEmpty())
        return 2;
    const int repeat = args.size() > 1 ? qMax(1, args.at(1).toInt()) : 1;
    QByteArray bytes = readRepeated(args.at(0), repeat);
    if (bytes.isEmpty()) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(args.at(0)));
        return 1;
    }
    const qsizetype size = bytes.size();
    QElapsedTimer timer;
    timer.start();
    const std::optional<M3uContent> content
        = buildM3uContent(std::move(bytes), QStringLiteral("Uncategorized"));
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    qsizetype entries = 0;
    if (content) {
        entries = content->live->all.size() + content->movie->all.size();
        for (const QList<Episode> &episodes : content->episodes)
            entries += episodes.size();
    }
    std::printf("m3u bytes=%lld entries=%lld ms=%.1f MBps=%.0f peak_rss_mb=%ld\n", qlonglong(size),
        qlonglong(entries), ms, double(size) / 1e3 / qMax(ms, 0.001), peakRssMb());
    return 0;
}

void appendLive(QByteArray &out, int i, Sequence &random)
{
    const QByteArray id = QByteArray::number(i);
    const QByteArray group = generatedChannelGroup(i / 400 % 60);
    const QByteArray name = generatedChannelName(i);
    out += "#EXTINF:-1 tvg-id=\"chan" + id + ".fr\" tvg-name=\"" + name
        + "\" tvg-logo=\"http://127.0.0.1:8080/logos/chan" + id + ".png\" group-title=\"" + group + "\"";
    if (random.next(3) == 0)
        out += " catchup=\"default\" catchup-days=\"7\" catchup-source=\"http://127.0.0.1:8080/timeshift/user/pass/"
               "{duration}/{Y}-{m}-{d}:{H}-{M}/"
            + id + ".ts\"";
    out += "," + name + "\nhttp://127.0.0.1:8080/live/user/pass/" + id + ".ts\n";
}

void appendMovie(QByteArray &out, int i, Sequence &random)
{
    const QByteArray id = QByteArray::number(i);
    const QByteArray title = "Movie Title " + id + " (" + QByteArray::number(1960 + random.next(64)) + ")";
    out += "#EXTINF:-1 tvg-id=\"\" tvg-name=\"" + title + "\" tvg-logo=\"http://127.0.0.1:8080/posters/" + id
        + ".jpg\" group-title=\"VOD | Genre " + QByteArray::number(i / 500 % 40) + "\"," + title
        + "\nhttp://127.0.0.1:8080/movie/user/pass/" + id + ".mkv\n";
}

void appendEpisode(QByteArray &out, int i)
{
    const int show = i / 20;
    const QByteArray name = "Show " + QByteArray::number(show) + " S"
        + QByteArray::number(i / 10 % 2 + 1).rightJustified(2, '0') + "E"
        + QByteArray::number(i % 10 + 1).rightJustified(2, '0');
    out += "#EXTINF:-1 tvg-name=\"" + name + "\" tvg-logo=\"http://127.0.0.1:8080/covers/"
        + QByteArray::number(show) + ".jpg\" group-title=\"Series | Drama "
        + QByteArray::number(show / 50 % 30) + "\"," + name + "\nhttp://127.0.0.1:8080/series/user/pass/"
        + QByteArray::number(i) + ".mp4\n";
}

// A synthetic playlist shaped like a provider's: live channels, then movies, then series.
int generateM3u(const QStringList &args)
{
    const int count = args.isEmpty() ? 0 : args.at(0).toInt();
    if (count <= 0)
        return 2;
    Sequence random(42);
    QByteArray out = "#EXTM3U\n";
    out.reserve(qsizetype(count) * 320);
    const int live = count * 2 / 5;
    const int movies = count * 7 / 20;
    for (int i = 0; i < count; ++i) {
        if (i < live)
            appendLive(out, i, random);
        else if (i < live + movies)
            appendMovie(out, i - live, random);
        else
            appendEpisode(out, i - live - movies);
    }
    std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
    return 0;
}

constexpr BenchCommand kCommands[] = {
    { "m3u", "FILE [REPEAT]", runM3u },
    { "gen-m3u", "N", generateM3u },
};

} // namespace

std::span<const BenchCommand> m3uBenchCommands()
{
    return kCommands;
}
