#include "UiData.h"

#include "BenchCommands.h"
#include "DemoCatalog.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

namespace {

constexpr int kLiveCategories = 60;

bool writeFile(const QDir &dir, const QString &name, const QByteArray &bytes)
{
    QFile file(dir.filePath(name));
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray categories(int first, int count, const QByteArray &prefix)
{
    QByteArray out = "[";
    for (int i = 0; i < count; ++i) {
        const QByteArray id = QByteArray::number(first + i);
        out += (i ? ",{" : "{") + QByteArray("\"category_id\":\"") + id + "\",\"category_name\":\"" + prefix
            + ' ' + id + "\",\"parent_id\":0}";
    }
    return out + "]";
}

QByteArray liveStreams(int count, const QByteArray &imageBase)
{
    Sequence random(5);
    QByteArray out = "[";
    out.reserve(qsizetype(count) * 300);
    for (int i = 0; i < count; ++i) {
        const QByteArray id = QByteArray::number(i + 1);
        out += i ? ",{" : "{";
        out += "\"num\":" + id + ",\"name\":\"" + generatedChannelName(i + 1) + "\",\"stream_type\":\"live\"";
        out += ",\"stream_id\":" + id + ",\"stream_icon\":\"" + imageBase + "\\/logo" + id + ".png\"";
        out += ",\"epg_channel_id\":\"ch" + id + ".fr\",\"added\":\"1650000000\",\"custom_sid\":\"\"";
        out += ",\"tv_archive\":0,\"direct_source\":\"\",\"tv_archive_duration\":0";
        out += ",\"category_id\":\"" + QByteArray::number(1 + random.next(kLiveCategories)) + "\"}";
    }
    return out + "]";
}

} // namespace

bool writeXtreamAccount(const QString &folder, const XtreamSizes &sizes, const QString &base)
{
    const QDir dir(folder);
    // Pictures are asked of the portal, which has none of these.
    QByteArray imageBase = base.toUtf8();
    imageBase.replace("/", "\\/");
    const auto local
        = [&imageBase](QByteArray body) { return body.replace("https:\\/\\/image.tmdb.org", imageBase); };
    return writeFile(dir, "auth.json", DemoCatalog::account(base, QDateTime::currentDateTimeUtc()))
        && writeFile(dir, "get_live_categories.json", categories(1, kLiveCategories, "FR | Channels"))
        && writeFile(dir, "get_vod_categories.json", categories(100, 120, "Films"))
        && writeFile(dir, "get_series_categories.json", categories(300, 40, "Series"))
        && writeFile(dir, "get_live_streams.json", liveStreams(sizes.live, imageBase))
        && writeFile(
            dir, "get_vod_streams.json", local(generatedXtreamStreams(sizes.films, ContentType::movie)))
        && writeFile(
            dir, "get_series.json", local(generatedXtreamStreams(sizes.series, ContentType::series)));
}
