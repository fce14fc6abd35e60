#include "XtreamClient.h"

#include "AppError.h"
#include "model/ContentKeys.h"
#include "model/Lenient.h"

#include <QSet>
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

constexpr unsigned kAllFields = (1u << std::size(kStreamFields)) - 1;

constexpr unsigned fieldBit(OptText XStream::*member)
{
    for (unsigned i = 0; i < std::size(kStreamFields); ++i) {
        if (kStreamFields[i].member == member)
            return 1u << i;
    }
    return 0;
}

// The fields mediaItems reads for a type; the others are not worth their allocations.
unsigned fieldsUsedBy(ContentType type)
{
    unsigned unused = 0;
    if (type == ContentType::series)
        unused |= fieldBit(&XStream::streamId) | fieldBit(&XStream::icon);
    else
        unused |= fieldBit(&XStream::seriesId) | fieldBit(&XStream::cover);
    if (type != ContentType::live)
        unused |= fieldBit(&XStream::tvArchive) | fieldBit(&XStream::tvArchiveDuration);
    return kAllFields & ~unused;
}

// One pass over the object's members; the first occurrence of a key wins.
XStream readStream(simdjson::dom::object object, unsigned wanted = kAllFields)
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
                if (wanted & (1u << i))
                    stream.*known.member = lenientText(field.value);
            }
            break;
        }
    }
    return stream;
}

// Runs fill(begin, end) over [0, count) in chunks spread across the worker threads.
template<typename Fill>
void forChunks(std::size_t count, Fill fill)
{
    const std::size_t chunks = count < kParallelThreshold ? 1 : std::size_t(QThread::idealThreadCount()) * 4;
    const std::size_t chunkSize = std::max<std::size_t>((count + chunks - 1) / chunks, 1);
    std::vector<std::size_t> starts;
    for (std::size_t begin = 0; begin < count; begin += chunkSize)
        starts.push_back(begin);
    auto run = [&](std::size_t begin) { fill(begin, std::min(begin + chunkSize, count)); };
    if (starts.size() <= 1)
        std::for_each(starts.begin(), starts.end(), run);
    else
        QtConcurrent::blockingMap(starts, run);
}

// The array's objects, or only those with a usable value under idKey.
std::vector<simdjson::dom::object> objectsOf(simdjson::dom::array array, std::string_view idKey = {})
{
    std::vector<simdjson::dom::object> objects;
    objects.reserve(array.size());
    for (const element value : array) {
        if (value.type() != element_type::OBJECT)
            continue;
        const simdjson::dom::object object = value.get_object().value_unsafe();
        if (idKey.empty() || lenientString(object, idKey))
            objects.push_back(object);
    }
    return objects;
}

// Parses a body it owns: padding is added in place and the bytes are let go once the
// document holds its own copy of every value.
std::optional<simdjson::dom::array> parseArray(simdjson::dom::parser &parser, QByteArray body)
{
    body.reserve(body.size() + qsizetype(simdjson::SIMDJSON_PADDING));
    const auto root = parseJson(parser, body);
    body = QByteArray();
    if (!root)
        throw AppError::badData();
    simdjson::dom::array array;
    if (root->get_array().get(array) != simdjson::SUCCESS)
        return std::nullopt;
    return array;
}

// Category ids, extensions and ratings repeat across a list; one copy of each is kept.
class RepeatedTexts {
public:
    void share(QString &text)
    {
        const auto known = m_texts.constFind(text);
        if (known != m_texts.constEnd())
            text = *known;
        else
            m_texts.insert(text);
    }
    void share(OptText &text)
    {
        if (text)
            share(*text);
    }

private:
    QSet<QString> m_texts;
};

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

QList<XStream> decodeStreams(QByteArray body)
{
    simdjson::dom::parser parser;
    const auto array = parseArray(parser, std::move(body));
    if (!array)
        return {};
    const std::vector<simdjson::dom::object> objects = objectsOf(*array);
    QList<XStream> streams(qsizetype(objects.size()));
    XStream *out = streams.data();
    forChunks(objects.size(), [&](std::size_t begin, std::size_t end) {
        for (std::size_t i = begin; i < end; ++i)
            out[i] = readStream(objects[i]);
    });
    return streams;
}

QList<MediaItem> decodeMediaItems(QByteArray body, ContentType type)
{
    simdjson::dom::parser parser;
    const auto array = parseArray(parser, std::move(body));
    if (!array)
        return {};
    const bool series = type == ContentType::series;
    const std::vector<simdjson::dom::object> kept = objectsOf(*array, series ? "series_id" : "stream_id");
    const unsigned wanted = fieldsUsedBy(type);
    QList<MediaItem> items(qsizetype(kept.size()));
    MediaItem *out = items.data();
    forChunks(kept.size(), [&](std::size_t begin, std::size_t end) {
        RepeatedTexts repeated;
        for (std::size_t i = begin; i < end; ++i) {
            const XStream stream = readStream(kept[i], wanted);
            MediaItem &item = out[i] = itemOf(stream, *(series ? stream.seriesId : stream.streamId), type, qint64(i));
            repeated.share(item.categoryId);
            repeated.share(item.ext);
            repeated.share(item.rating);
        }
    });
    return items;
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
