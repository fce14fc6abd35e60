#include "XtreamClient.h"

#include "AppError.h"
#include "JsonArrayPieces.h"
#include "model/ContentKeys.h"
#include "model/Lenient.h"

#include <array>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

using simdjson::dom::element;
using simdjson::dom::element_type;

// Longer lists are read in pieces of about this size on worker threads.
constexpr qsizetype kPieceBytes = 256 * 1024;
// At most this many distinct repeated texts are remembered per worker.
constexpr std::size_t kMaxRepeatedTexts = 4096;

using StreamMember = OptText XStream::*;

struct StreamField {
    std::string_view key;
    StreamMember member;
    qsizetype limit = TextBounds::kLongText;
};

constexpr StreamField kStreamFields[] = {
    { "num", &XStream::num },
    { "name", &XStream::name, TextBounds::kName },
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

constexpr std::size_t kFieldCount = std::size(kStreamFields);
constexpr unsigned kAllFields = (1u << kFieldCount) - 1;

constexpr std::size_t fieldIndex(StreamMember member)
{
    std::size_t i = 0;
    while (i < kFieldCount && kStreamFields[i].member != member)
        ++i;
    return i;
}

constexpr unsigned fieldBit(StreamMember member)
{
    return 1u << fieldIndex(member);
}

// The fields an item of the type is made of; the others are not worth reading.
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

// A stream object's values by field, found in one pass over its members; the first
// occurrence of a key wins.
class StreamValues {
public:
    StreamValues(simdjson::dom::object object, unsigned wanted)
    {
        unsigned seen = 0;
        for (const auto field : object) {
            const std::size_t i = indexOfKey(field.key);
            if (i == kFieldCount || (seen & (1u << i)))
                continue;
            seen |= 1u << i;
            if (wanted & (1u << i)) {
                m_values[i] = field.value;
                m_present |= 1u << i;
            }
        }
    }
    const element *value(StreamMember member) const
    {
        const std::size_t i = fieldIndex(member);
        return (m_present & (1u << i)) ? &m_values[i] : nullptr;
    }

private:
    static std::size_t indexOfKey(std::string_view key)
    {
        std::size_t i = 0;
        while (i < kFieldCount && key != kStreamFields[i].key)
            ++i;
        return i;
    }

    std::array<element, kFieldCount> m_values;
    unsigned m_present = 0;
};

XStream readStream(simdjson::dom::object object)
{
    const StreamValues values(object, kAllFields);
    XStream stream;
    for (const StreamField &field : kStreamFields) {
        if (const element *value = values.value(field.member))
            stream.*field.member = lenientText(*value, field.limit);
    }
    return stream;
}

// Category ids, extensions and ratings repeat across a list: one text is made per
// distinct JSON string and shared by every item that has it.
class RepeatedTexts {
public:
    OptText text(element value)
    {
        if (value.type() != element_type::STRING)
            return lenientText(value);
        const std::string_view json = value.get_string().value_unsafe();
        const auto known = m_byJson.find(json);
        if (known != m_byJson.end())
            return known->second;
        OptText text = lenientText(value);
        if (m_byJson.size() < kMaxRepeatedTexts)
            m_byJson.emplace(json, text);
        return text;
    }

private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>()(text); }
    };
    std::unordered_map<std::string, OptText, Hash, std::equal_to<>> m_byJson;
};

// A stream's fields read from its JSON object by the lenient rules.
struct JsonStream {
    const StreamValues &values;
    RepeatedTexts &repeated;

    OptText text(StreamMember member) const
    {
        const element *value = values.value(member);
        return value ? lenientText(*value, kStreamFields[fieldIndex(member)].limit) : std::nullopt;
    }
    OptText repeatedText(StreamMember member) const
    {
        const element *value = values.value(member);
        return value ? repeated.text(*value) : std::nullopt;
    }
    std::optional<double> number(StreamMember member) const
    {
        const element *value = values.value(member);
        return value ? lenientDouble(*value) : std::nullopt;
    }
    std::optional<qint64> integer(StreamMember member) const
    {
        const element *value = values.value(member);
        return value ? lenientInteger(*value) : std::nullopt;
    }
};

// The same fields of an already decoded stream.
struct DecodedStream {
    const XStream &stream;

    OptText text(StreamMember member) const { return stream.*member; }
    OptText repeatedText(StreamMember member) const { return stream.*member; }
    std::optional<double> number(StreamMember member) const
    {
        return (stream.*member) ? parseDecimalDouble(*(stream.*member)) : std::nullopt;
    }
    std::optional<qint64> integer(StreamMember member) const
    {
        return (stream.*member) ? parseDecimalInteger(*(stream.*member)) : std::nullopt;
    }
};

StreamMember idMember(ContentType type)
{
    return type == ContentType::series ? &XStream::seriesId : &XStream::streamId;
}

bool isZeroRating(const OptText &rating)
{
    return rating == QLatin1StringView("0") || rating == QLatin1StringView("0.0");
}

// The catch-up days of a live stream: whole days, at least 1.
qint64 catchupDays(std::optional<qint64> days)
{
    return days && *days >= 1 ? *days : 1;
}

// The item of a stream whose id is known to be present.
template <typename Stream>
void fillItem(MediaItem &item, const Stream &stream, QString id, ContentType type, qint64 index)
{
    const bool series = type == ContentType::series;
    item.uid = index;
    item.type = type;
    OptText name = stream.text(&XStream::name);
    item.name = name && !name->isEmpty() ? std::move(*name) : TextBounds::cut(id, TextBounds::kName);
    item.id = std::move(id);
    item.logo = stream.text(series ? &XStream::cover : &XStream::icon);
    if (item.logo && item.logo->isEmpty())
        item.logo.reset();
    item.categoryId = stream.repeatedText(&XStream::categoryId).value_or(PseudoCategory::uncategorized);
    item.epgId = stream.text(&XStream::epgId);
    item.ext = stream.repeatedText(&XStream::ext);
    item.rating = stream.repeatedText(&XStream::rating);
    if (isZeroRating(item.rating))
        item.rating.reset();
    const std::optional<double> num = stream.number(&XStream::num);
    item.num = (num ? integerPart(*num) : std::nullopt).value_or(index + 1);
    if (type == ContentType::live && stream.text(&XStream::tvArchive) == QLatin1StringView("1"))
        item.catchup = Catchup { catchupDays(stream.integer(&XStream::tvArchiveDuration)),
            QStringLiteral("xc"), std::nullopt };
}

// Reads a stream list: `keeps(object)` tells which objects make an entry and
// `fill(entry, object, index, worker)` makes the entry at `index`. Throws
// AppError::badData when the body is not JSON; a non-array gives an empty list.
template <typename Entry, typename Keeps, typename Fill>
QList<Entry> decodeList(const QByteArray &body, const Keeps &keeps, const Fill &fill)
{
    if (std::optional<QList<Entry>> entries
        = readEntriesInPieces<Entry>(body, kPieceBytes, keeps, fill, readBytesOf(body)))
        return std::move(*entries);
    QList<Entry> entries;
    const auto append = [&](std::size_t, std::size_t worker, simdjson::dom::array elements) {
        entries.reserve(qsizetype(elements.size()));
        forKeptObjects(elements, keeps, [&](simdjson::dom::object object) {
            const qsizetype index = entries.size();
            fill(entries.emplace_back(), object, index, worker);
        });
    };
    if (readArrayPieces(body, {}, append) == PiecesOutcome::notJson)
        throw AppError::badData();
    return entries;
}

// An object answer whose "auth" (top level or under "user_info") reads as 0 or false,
// however it is spaced or typed ("auth" : 0, "auth":"0").
bool refusesLogin(const QByteArray &body)
{
    simdjson::dom::parser parser;
    const auto root = parseJson(parser, body);
    simdjson::dom::object top;
    if (!root || root->get_object().get(top) != simdjson::SUCCESS)
        return false;
    simdjson::dom::object userInfo;
    const auto isZero = [](simdjson::dom::object from) {
        simdjson::dom::element auth;
        return from.at_key("auth").get(auth) == simdjson::SUCCESS
            && lenientText(auth) == QLatin1StringView("0");
    };
    return isZero(top)
        || (top.at_key("user_info").get_object().get(userInfo) == simdjson::SUCCESS && isZero(userInfo));
}

bool isLeadingFiller(uchar byte)
{
    return byte == '\t' || byte == '\n' || byte == '\r' || byte == ' ' || byte == 0xEF || byte == 0xBB
        || byte == 0xBF;
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
    if (refusesLogin(body))
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
        categories.append({ lenientString(object, "category_id"),
            lenientString(object, "category_name", TextBounds::kName) });
    }
    return categories;
}

QList<XStream> decodeStreams(QByteArray body)
{
    const auto anyObject = [](simdjson::dom::object) { return true; };
    const auto fill = [](XStream &stream, simdjson::dom::object object, qsizetype, std::size_t) {
        stream = readStream(object);
    };
    return decodeList<XStream>(body, anyObject, fill);
}

QList<MediaItem> decodeMediaItems(QByteArray body, ContentType type)
{
    const StreamMember id = idMember(type);
    const std::string_view idKey = kStreamFields[fieldIndex(id)].key;
    const unsigned wanted = fieldsUsedBy(type);
    std::vector<RepeatedTexts> repeated(pieceWorkerCount());
    const auto hasId = [&](simdjson::dom::object object) { return lenientString(object, idKey).has_value(); };
    const auto fill
        = [&](MediaItem &item, simdjson::dom::object object, qsizetype index, std::size_t worker) {
        const StreamValues values(object, wanted);
        const JsonStream stream { values, repeated[worker] };
        fillItem(item, stream, stream.text(id).value_or(QString()), type, index);
    };
    return decodeList<MediaItem>(body, hasId, fill);
}

QList<MediaItem> mediaItems(const QList<XStream> &streams, ContentType type)
{
    const StreamMember id = idMember(type);
    QList<MediaItem> items;
    items.reserve(streams.size());
    for (const XStream &stream : streams) {
        if (!(stream.*id))
            continue;
        const qsizetype index = items.size();
        fillItem(items.emplace_back(), DecodedStream { stream }, *(stream.*id), type, index);
    }
    return items;
}

} // namespace XtreamClient
