#include "MediaItems.h"

#include <QUtf8StringView>

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace {

constexpr int kOffsetBits = 20;
constexpr qsizetype kChunkBytes = qsizetype(1) << kOffsetBits;
// Chunk numbers stop short of the two marks, which sit in the last chunk's last offsets.
constexpr qsizetype kMaxChunks = (qsizetype(1) << (32 - kOffsetBits)) - 1;
// Bytes of a length header: seven bits a byte.
qsizetype lengthBytes(quint64 value)
{
    qsizetype n = 1;
    for (; value >= 0x80; value >>= 7)
        ++n;
    return n;
}

qsizetype writeLength(char *out, quint64 value)
{
    qsizetype n = 0;
    while (value >= 0x80) {
        out[n++] = char(quint8(value) | 0x80);
        value >>= 7;
    }
    out[n++] = char(value);
    return n;
}

quint64 readLength(const char *&in)
{
    quint64 value = 0;
    for (int shift = 0;; shift += 7) {
        const quint8 byte = quint8(*in++);
        value |= quint64(byte & 0x7f) << shift;
        if (!(byte & 0x80))
            return value;
    }
}

// UTF-8 carries any text but one with a lone surrogate half.
bool fitsUtf8(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar unit = text[i];
        if (!unit.isSurrogate())
            continue;
        if (unit.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else
            return false;
    }
    return true;
}

} // namespace

MediaItems::MediaItems(const QList<MediaItem> &items)
{
    reserve(items.size());
    for (const MediaItem &item : items)
        append(item);
}

MediaItems::MediaItems(std::initializer_list<MediaItem> items)
{
    reserve(qsizetype(items.size()));
    for (const MediaItem &item : items)
        append(item);
}

MediaItems::MediaItems(const MediaItems &other)
    : m_records(other.m_records)
    , m_categories(other.m_categories)
    , m_categoryIndex(other.m_categoryIndex)
{
    m_chunks.reserve(other.m_chunks.size());
    for (const Chunk &chunk : other.m_chunks) {
        Chunk &copy = m_chunks.emplace_back(
            Chunk { std::make_unique_for_overwrite<char[]>(size_t(chunk.size)), chunk.used, chunk.size });
        std::memcpy(copy.bytes.get(), chunk.bytes.get(), size_t(chunk.used));
    }
}

MediaItems &MediaItems::operator=(const MediaItems &other)
{
    if (this != &other)
        *this = MediaItems(other);
    return *this;
}

MediaItem MediaItems::at(qsizetype i) const
{
    const Record &record = m_records[size_t(i)];
    MediaItem item;
    item.uid = record.uid;
    item.type = record.type;
    item.id = *text(i, Text::id);
    item.name = *text(i, Text::name);
    item.logo = text(i, Text::logo);
    item.categoryId = m_categories.value(record.category);
    // Most addresses are their item's id too.
    const TextAt url = record.texts[int(Text::url)];
    item.url = url == record.texts[int(Text::id)] && url != kAbsent ? OptText(item.id) : text(i, Text::url);
    item.epgId = text(i, Text::epgId);
    item.ext = text(i, Text::ext);
    item.rating = text(i, Text::rating);
    item.num = record.num;
    item.catchup = record.catchup;
    return item;
}

OptText MediaItems::text(qsizetype i, Text field) const
{
    const TextAt at = m_records[size_t(i)].texts[int(field)];
    if (at == kAbsent)
        return std::nullopt;
    if (at == kEmpty)
        return OptText(QString());
    QString text;
    text.truncate(textInto(i, field, text).size());
    return OptText(std::move(text));
}

const QString &MediaItems::categoryId(qsizetype i) const
{
    return m_categories.at(m_records[size_t(i)].category);
}

qsizetype MediaItems::textSize(qsizetype i, Text field) const
{
    const TextAt at = m_records[size_t(i)].texts[int(field)];
    if (at == kAbsent || at == kEmpty)
        return 0;
    const Stored text = stored(at);
    if (text.utf16)
        return text.size / 2;
    // A character per byte that starts one, and a second unit for those beyond 16 bits.
    qsizetype units = 0;
    for (qsizetype b = 0; b < text.size; ++b) {
        const quint8 byte = quint8(text.bytes[b]);
        units += ((byte & 0xc0) != 0x80) + ((byte & 0xf8) == 0xf0);
    }
    return units;
}

QStringView MediaItems::textInto(qsizetype i, Text field, QString &buffer) const
{
    const TextAt at = m_records[size_t(i)].texts[int(field)];
    if (at == kAbsent || at == kEmpty)
        return {};
    const Stored text = stored(at);
    if (text.utf16) {
        buffer.resize(text.size / 2);
        std::memcpy(buffer.data(), text.bytes, size_t(text.size));
        return buffer;
    }
    // UTF-8 never takes fewer bytes than UTF-16 units. A leading byte-order mark is a
    // character of the text.
    buffer.resize(text.size);
    QStringDecoder decoder(
        QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    const QChar *const end = decoder.appendToBuffer(buffer.data(), QByteArrayView(text.bytes, text.size));
    return QStringView(buffer.constData(), end - buffer.constData());
}

size_t MediaItems::textHash(qsizetype i, Text field, size_t seed) const
{
    const TextAt at = m_records[size_t(i)].texts[int(field)];
    if (at == kAbsent || at == kEmpty)
        return qHash(QByteArrayView(), seed);
    const Stored text = stored(at);
    return qHash(QByteArrayView(text.bytes, text.size), seed);
}

size_t MediaItems::hashOf(QStringView text, size_t seed)
{
    // The bytes the text would be stored as.
    if (fitsUtf8(text))
        return qHash(QByteArrayView(text.toUtf8()), seed);
    return qHash(QByteArrayView(reinterpret_cast<const char *>(text.utf16()), text.size() * 2), seed);
}

bool MediaItems::textIs(qsizetype i, Text field, QAnyStringView text) const
{
    const TextAt at = m_records[size_t(i)].texts[int(field)];
    if (at == kAbsent)
        return false;
    if (at == kEmpty)
        return text.isEmpty();
    const Stored mine = stored(at);
    if (mine.utf16)
        return QAnyStringView::equal(*this->text(i, field), text);
    return QAnyStringView::equal(QUtf8StringView(mine.bytes, mine.size), text);
}

void MediaItems::append(const MediaItem &item)
{
    Record record;
    record.uid = item.uid;
    record.num = item.num;
    record.catchup = item.catchup;
    record.type = item.type;
    record.category = categoryIndex(item.categoryId);
    record.texts[int(Text::id)] = store(OptText(item.id));
    record.texts[int(Text::name)] = store(OptText(item.name));
    record.texts[int(Text::logo)] = store(item.logo);
    record.texts[int(Text::url)] = item.url == item.id ? record.texts[int(Text::id)] : store(item.url);
    record.texts[int(Text::epgId)] = store(item.epgId);
    record.texts[int(Text::ext)] = store(item.ext);
    record.texts[int(Text::rating)] = store(item.rating);
    m_records.push_back(std::move(record));
}

void MediaItems::append(MediaItems &&later)
{
    if (later.isEmpty())
        return;
    if (qsizetype(m_chunks.size() + later.m_chunks.size()) > kMaxChunks)
        throw std::length_error("list texts too long");
    const TextAt chunkBase = TextAt(m_chunks.size()) << kOffsetBits;
    // The last chunk is full from now on: later texts continue in the chunks that follow.
    if (!m_chunks.empty())
        m_chunks.back().size = m_chunks.back().used;
    std::move(later.m_chunks.begin(), later.m_chunks.end(), std::back_inserter(m_chunks));
    std::vector<quint32> categories;
    categories.reserve(size_t(later.m_categories.size()));
    for (const QString &id : std::as_const(later.m_categories))
        categories.push_back(categoryIndex(id));
    m_records.reserve(m_records.size() + later.m_records.size());
    for (Record &record : later.m_records) {
        for (TextAt &at : record.texts) {
            if (at != kAbsent && at != kEmpty)
                at += chunkBase;
        }
        record.category = categories[record.category];
        m_records.push_back(std::move(record));
    }
    later = MediaItems();
}

void MediaItems::renumber(qsizetype i, qint64 uid, qint64 num)
{
    m_records[size_t(i)].uid = uid;
    m_records[size_t(i)].num = num;
}

MediaItems::TextAt MediaItems::store(const OptText &text)
{
    if (!text)
        return kAbsent;
    if (text->isEmpty())
        return kEmpty;
    const bool utf16 = !fitsUtf8(*text);
    const qsizetype most = utf16 ? text->size() * 2 : text->size() * 3;
    const qsizetype mostHeader = lengthBytes(quint64(most) << 1 | 1);
    char *const start = room(mostHeader + most);
    const TextAt at = TextAt(m_chunks.size() - 1) << kOffsetBits | TextAt(m_chunks.back().used);
    char *const bytes = start + mostHeader;
    qsizetype size = most;
    if (!utf16)
        size = m_encoder.appendToBuffer(bytes, *text) - bytes;
    else
        std::memcpy(bytes, text->utf16(), size_t(size));
    // The length goes in front; a shorter one than reserved moves the bytes up to it.
    const qsizetype header = writeLength(start, quint64(size) << 1 | quint64(utf16));
    if (header != mostHeader)
        std::memmove(start + header, bytes, size_t(size));
    m_chunks.back().used += header + size;
    return at;
}

MediaItems::Stored MediaItems::stored(TextAt at) const
{
    const Chunk &chunk = m_chunks[size_t(at >> kOffsetBits)];
    const char *in = chunk.bytes.get() + (at & (TextAt(kChunkBytes) - 1));
    const quint64 header = readLength(in);
    return { in, qsizetype(header >> 1), bool(header & 1) };
}

quint32 MediaItems::categoryIndex(const QString &id)
{
    // Items of a category mostly follow each other, sharing its text.
    if (qsizetype(m_lastCategory) < m_categories.size()) {
        const QString &last = m_categories.at(m_lastCategory);
        if (last.constData() == id.constData() && last.size() == id.size())
            return m_lastCategory;
    }
    auto known = m_categoryIndex.constFind(id);
    if (known == m_categoryIndex.cend()) {
        known = m_categoryIndex.insert(id, quint32(m_categories.size()));
        m_categories.append(id);
    }
    m_lastCategory = *known;
    return m_lastCategory;
}

char *MediaItems::room(qsizetype bytes)
{
    // Every text starts within a chunk's first kChunkBytes, which its offset can name.
    if (m_chunks.empty() || m_chunks.back().used >= kChunkBytes
        || m_chunks.back().used + bytes > m_chunks.back().size) {
        if (qsizetype(m_chunks.size()) >= kMaxChunks)
            throw std::length_error("list texts too long");
        // A text longer than a chunk gets one of its own, starting at its offset 0.
        const qsizetype size = std::max(kChunkBytes, bytes);
        m_chunks.push_back(Chunk { std::make_unique_for_overwrite<char[]>(size_t(size)), 0, size });
    }
    return m_chunks.back().bytes.get() + m_chunks.back().used;
}

bool operator==(const MediaItems &a, const MediaItems &b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a.at(i) != b.at(i))
            return false;
    }
    return true;
}
