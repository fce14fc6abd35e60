#include "BenchCommands.h"

#include "sources/SectionBuilder.h"
#include "sources/XtreamClient.h"

#include <QElapsedTimer>
#include <QFile>

#include <cstdio>

namespace {

// A get_live_streams / get_vod_streams body to items and a section.
int runXtreamStreams(const QStringList &args)
{
    if (args.isEmpty())
        return 2;
    QByteArray body = readRepeated(args.at(0), 1);
    if (body.isEmpty()) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(args.at(0)));
        return 1;
    }
    const qsizetype bytes = body.size();
    const ContentType type = body.contains("\"series_id\"") ? ContentType::series : ContentType::movie;
    QElapsedTimer timer;
    timer.start();
    QList<MediaItem> items = XtreamClient::decodeMediaItems(std::move(body), type);
    const double decodeMs = double(timer.nsecsElapsed()) / 1e6;
    const SectionPtr section = buildSection(type, {}, std::move(items), QStringLiteral("Uncategorized"));
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    std::printf(
        "xtream items=%lld categories=%lld ms=%.1f decode_ms=%.1f section_ms=%.1f MBps=%.0f peak_rss_mb=%ld\n",
        qlonglong(section->all.size()), qlonglong(section->categories.size()), ms, decodeMs, ms - decodeMs,
        double(bytes) / 1e3 / qMax(ms, 0.001), peakRssMb());
    return 0;
}

// One movie entry shaped like a panel's, with the usual loose typing: numbers as
// strings or numbers, nulls, escaped slashes, a category list beside the category id.
void appendMovie(QByteArray &out, int i, Sequence &random)
{
    const QByteArray id = QByteArray::number(i + 1);
    const QByteArray category = QByteArray::number(100 + random.next(120));
    const bool quoted = random.next(2) == 0;
    const QByteArray rating = random.next(5) == 0 ? QByteArray("0")
                                                  : QByteArray::number(1 + random.next(90) / 10.0, 'f', 1);
    // the title's non-ASCII letter travels escaped, as panels send it
    const QByteArray name = movieName(i + 1, random).toUtf8().replace("\u00e9", "\\u00e9");
    out += "{\"num\":" + (quoted ? '"' + id + '"' : id) + ",\"name\":\"" + name;
    out += "\",\"stream_type\":\"movie\",\"stream_id\":";
    out += quoted ? id : '"' + id + '"';
    out += ",\"stream_icon\":\"https:\\/\\/image.tmdb.org\\/t\\/p\\/w600_and_h900_bestv2\\/poster" + id
        + ".jpg\"";
    out += ",\"rating\":" + (random.next(7) == 0 ? QByteArray("null") : '"' + rating + '"');
    out += ",\"rating_5based\":" + QByteArray::number(random.next(50) / 10.0, 'f', 1);
    out += ",\"added\":\"" + QByteArray::number(1600000000 + random.next(100000000))
        + "\",\"is_adult\":\"0\"";
    out += ",\"category_id\":" + (random.next(9) == 0 ? QByteArray("null") : '"' + category + '"');
    out += ",\"category_ids\":[" + category + "],\"container_extension\":";
    out += random.next(11) == 0 ? QByteArray("null") : QByteArray(random.next(3) ? "\"mkv\"" : "\"mp4\"");
    out += ",\"custom_sid\":null,\"direct_source\":\"\",\"tmdb\":\"" + QByteArray::number(random.next(900000))
        + "\"}";
}

// One series entry of a get_series answer, loosely typed like a panel's.
void appendSeries(QByteArray &out, int i, Sequence &random)
{
    const QByteArray id = QByteArray::number(i + 1);
    out += "{\"num\":" + id + ",\"name\":\"Series Title " + id + " ("
        + QByteArray::number(1980 + random.next(45));
    out += ")\",\"series_id\":" + (random.next(2) ? id : '"' + id + '"');
    out += ",\"cover\":\"https:\\/\\/image.tmdb.org\\/t\\/p\\/w600\\/cover" + id
        + ".jpg\",\"plot\":\"A plot.\"";
    out += ",\"rating\":\"" + QByteArray::number(random.next(10)) + "\",\"category_id\":\"";
    out += QByteArray::number(300 + random.next(40)) + "\",\"last_modified\":\"1650000000\"}";
}

int generateXtream(const QStringList &args)
{
    const int count = args.isEmpty() ? 0 : args.at(0).toInt();
    if (count <= 0)
        return 2;
    const QByteArray out = generatedXtreamStreams(count, ContentType::movie);
    std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
    return 0;
}

constexpr BenchCommand kCommands[] = {
    { "xtream-streams", "FILE", runXtreamStreams },
    { "gen-xtream", "N", generateXtream },
};

} // namespace

QByteArray generatedXtreamStreams(int count, ContentType type)
{
    Sequence random(7);
    QByteArray out = "[";
    out.reserve(qsizetype(count) * 400);
    for (int i = 0; i < count; ++i) {
        if (i)
            out += ',';
        // now and then an element that is not an object
        if (random.next(5000) == 0)
            out += "\"<br>Warning\",";
        if (type == ContentType::series)
            appendSeries(out, i, random);
        else
            appendMovie(out, i, random);
    }
    out += "]\n";
    return out;
}

QString movieName(int id, Sequence &random)
{
    return QStringLiteral("Movie Title %1 (%2) \u00e9dition").arg(id).arg(1950 + random.next(75));
}

std::span<const BenchCommand> xtreamBenchCommands()
{
    return kCommands;
}
