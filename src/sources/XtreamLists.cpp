#include "XtreamClient.h"

#include "AppError.h"
#include "model/ContentKeys.h"
#include "model/Lenient.h"

#include <QThread>
#include <QtConcurrent/QtConcurrentMap>

#include <cstring>
#include <vector>

namespace {

using simdjson::dom::element;
using simdjson::dom::element_type;

constexpr qsizetype kRefusalScanBytes = 4096;
// Below this many elements a list is built on the calling thread alone.
constexpr std::size_t kParallelThreshold = 4096;

struct StreamField {
    std::string_view key;
    OptText XStream::*member;
};

constexpr StreamField kStreamFields[] = {
    { "num", &XStream::num },
    { "name", &XStream::name },
    { "stream_id", &XStream::streamId },
    { "series_id", &XStream::seriesId },
    { "stream_icon", &XStream::icon },
    { "cover", &XStream::cover },
    { "epg_channel_id", &XStream::epgId },
    { "category_id", &XStream::categoryId },
    { "rating", &XStream::rating },
    { "container_extension", &XStream::ext },
    { "tv_archive", &XStream::tvArchive },
    { "tv_archive_duration", &XStream::tvArchiveDuration },
};

// One pass over the object's members; the first occurrence of a key wins.
XStream readStream(simdjson::dom::object object)
{
    XStream stream;
    unsigned seen = 0;
    for (const auto field : object) {
        for (unsigned i = 0; i < std::size(kStreamFields); ++i) {
            const StreamField &known = kStreamFields[i];
            if (field.key.size() != known.key.size() || std::memcmp(field.key.data(), known.key.data(), known.key.size()))
                continue;
            if (!(seen & (1u << i))) {
                seen |= 1u << i;
                stream.*known.member = lenientText(field.value);
            }
            break;
        }
    }
    return stream;
}

std::vector<simdjson::dom::object> objectsOf(simdjson::dom::array array)
{
    std::vector<simdjson::dom::object> objects;
    objects.reserve(array.size());
    for (const element value : array) {
        if (value.type() == element_type::OBJECT)
            objects.push_back(value.get_object().value_unsafe());
    }
    return objects;
}

// Reads every object of the array into its own slot, split across the worker threads.
QList<XStream> readStreams(simdjson::dom::array array)
{
    const std::vector<simdjson::dom::object> objects = objectsOf(array);
    QList<XStream> streams(qsizetype(objects.size()));
    XStream *out = streams.data();
    const std::size_t chunks = objects.size() < kParallelThreshold ? 1 : std::size_t(QThread::idealThreadCount()) * 4;
    const std::size_t chunkSize = (objects.size() + chunks - 1) / std::max<std::size_t>(chunks, 1);
    std::vector<std::size_t> starts;
    for (std::size_t begin = 0; begin < objects.size(); begin += chunkSize)
        starts.push_back(begin);
    auto fill = [&](std::size_t begin) {
        const std::size_t end = std::min(begin + chunkSize, objects.size());
        for (std::size_t i = begin; i < end; ++i)
            out[i] = readStream(objects[i]);
    };
    if (starts.size() <= 1)
        std::for_each(starts.begin(), starts.end(), fill);
    else
        QtConcurrent::blockingMap(starts, fill);
    return streams;
}

bool isLeadingFiller(uchar byte)
{
    return byte == '\t' || byte == '\n' || byte == '\r' || byte == ' ' || byte == 0xEF || byte == 0xBB || byte == 0xBF;
}

// The catch-up days of a live stream: whole days, at least 1, at most a year.
qint64 catchupDays(const OptText &duration)
{
    const auto days = duration ? parseDecimalInteger(*duration) : std::nullopt;
    if (!days || *days < 1)
        return 1;
    return std::min(*days, XtreamClient::kMaxCatchupDays);
}

qint64 itemNumber(const OptText &num, qint64 fallback)
{
    if (!num)
        return fallback;
    const auto value = parseDecimalDouble(*num);
    const auto whole = value ? integerPart(*value) : std::nullopt;
    return whole.value_or(fallback);
}

MediaItem itemOf(const XStream &stream, const QString &id, ContentType type, qint64 index)
{
    const bool series = type == ContentType::series;
    MediaItem item;
    item.uid = index;
    item.type = type;
    item.id = id;
    item.name = stream.name && !stream.name->isEmpty() ? *stream.name : id;
    item.logo = series ? stream.cover : stream.icon;
    if (item.logo && item.logo->isEmpty())
        item.logo.reset();
    item.categoryId = stream.categoryId.value_or(PseudoCategory::uncategorized);
    item.epgId = stream.epgId;
    item.ext = stream.ext;
    if (stream.rating && *stream.rating != QLatin1StringView("0") && *stream.rating != QLatin1StringView("0.0"))
        item.rating = stream.rating;
    item.num = itemNumber(stream.num, index + 1);
    if (type == ContentType::live && stream.tvArchive == QLatin1StringView("1"))
        item.catchup = Catchup { catchupDays(stream.tvArchiveDuration), QStringLiteral("xc"), std::nullopt };
    return item;
}

} // namespace

namespace XtreamClient {

bool checkListBody(const QByteArray &body)
{
    qsizetype at = 0;
    while (at < body.size() && isLeadingFiller(uchar(body.at(at))))
        ++at;
    if (at == body.size())
        return false;
    if (body.at(at) == '[')
        return true;
    if (body.at(at) != '{')
        return false;
    const QString head = QString::fromUtf8(body.first(std::min(body.size(), kRefusalScanBytes)));
    if (head.contains(QLatin1StringView("\"auth\":0")) || head.contains(QLatin1StringView("\"auth\": 0")))
        throw AppError::xtreamAuth();
    return false;
}

QList<XCategory> decodeCategories(const QByteArray &body)
{
    simdjson::dom::parser parser;
    const auto root = parseJson(parser, body);
    simdjson::dom::array array;
    if (!root || root->get_array().get(array) != simdjson::SUCCESS)
        return {};
    QList<XCategory> categories;
    categories.reserve(qsizetype(array.size()));
    for (const element value : array) {
        simdjson::dom::object object;
        if (value.get_object().get(object) != simdjson::SUCCESS)
            continue;
        categories.append({ lenientString(object, "category_id"), lenientString(object, "category_name") });
    }
    return categories;
}

QList<XStream> decodeStreams(const QByteArray &body)
{
    simdjson::dom::parser parser;
    const auto root = parseJson(parser, body);
    if (!root)
        throw AppError::badData();
    simdjson::dom::array array;
    if (root->get_array().get(array) != simdjson::SUCCESS)
        return {};
    return readStreams(array);
}

QList<MediaItem> mediaItems(const QList<XStream> &streams, ContentType type)
{
    QList<MediaItem> items;
    items.reserve(streams.size());
    for (const XStream &stream : streams) {
        const OptText &id = type == ContentType::series ? stream.seriesId : stream.streamId;
        if (id)
            items.append(itemOf(stream, *id, type, items.size()));
    }
    return items;
}

} // namespace XtreamClient
