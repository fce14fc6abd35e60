#pragma once

#include "MediaItem.h"

#include <QAnyStringView>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringEncoder>

#include <initializer_list>
#include <memory>
#include <vector>

// A list of items kept compactly for lists of hundreds of thousands: one small record per
// item, its texts as UTF-8 in shared chunks, each category id once. An item, or one of
// its fields, is made when it is read; what is read is an ordinary MediaItem.
class MediaItems;
// Items shared read-only, often with the section that holds them.
using SharedMediaItems = std::shared_ptr<const MediaItems>;

class MediaItems {
public:
    enum class Text : quint8 { id, name, logo, url, epgId, ext, rating };

    MediaItems() = default;
    MediaItems(const QList<MediaItem> &items);
    MediaItems(std::initializer_list<MediaItem> items);
    MediaItems(MediaItems &&) noexcept = default;
    MediaItems &operator=(MediaItems &&) noexcept = default;
    MediaItems(const MediaItems &other);
    MediaItems &operator=(const MediaItems &other);

    qsizetype size() const { return qsizetype(m_records.size()); }
    bool isEmpty() const { return m_records.empty(); }

    MediaItem at(qsizetype i) const;
    MediaItem operator[](qsizetype i) const { return at(i); }
    MediaItem first() const { return at(0); }
    MediaItem last() const { return at(size() - 1); }

    // One field of item `i`, without making the rest.
    OptText text(qsizetype i, Text field) const;
    QString id(qsizetype i) const { return *text(i, Text::id); }
    QString name(qsizetype i) const { return *text(i, Text::name); }
    const QString &categoryId(qsizetype i) const;
    qint64 uid(qsizetype i) const { return m_records[size_t(i)].uid; }
    ContentType type(qsizetype i) const { return m_records[size_t(i)].type; }
    qint64 num(qsizetype i) const { return m_records[size_t(i)].num; }
    const OptCatchup &catchup(qsizetype i) const { return m_records[size_t(i)].catchup; }
    // The length in UTF-16 units of that field's text (0 when absent), read in place.
    qsizetype textSize(qsizetype i, Text field) const;
    // That field's text written into `buffer`, which keeps its room from call to call, so
    // a pass over many items reads them without allocating. Valid until `buffer` changes.
    QStringView textInto(qsizetype i, Text field, QString &buffer) const;
    // A hash of that field's text read from its stored bytes: hashOf() of the same text.
    size_t textHash(qsizetype i, Text field, size_t seed) const;
    static size_t hashOf(QStringView text, size_t seed);
    // Whether that field of item `i` is present and equal to `text`, read in place.
    bool textIs(qsizetype i, Text field, QAnyStringView text) const;

    void reserve(qsizetype count) { m_records.reserve(size_t(count)); }
    void append(const MediaItem &item);
    // Moves the items of `later` to the end of this list.
    void append(MediaItems &&later);
    // Gives the item at `i` a new uid and number.
    void renumber(qsizetype i, qint64 uid, qint64 num);

    class const_iterator {
    public:
        using value_type = MediaItem;
        using difference_type = qsizetype;
        const_iterator(const MediaItems *items, qsizetype at)
            : m_items(items)
            , m_at(at)
        {
        }
        MediaItem operator*() const { return m_items->at(m_at); }
        const_iterator &operator++()
        {
            ++m_at;
            return *this;
        }
        bool operator==(const const_iterator &) const = default;

    private:
        const MediaItems *m_items;
        qsizetype m_at;
    };
    const_iterator begin() const { return { this, 0 }; }
    const_iterator end() const { return { this, size() }; }

    friend bool operator==(const MediaItems &a, const MediaItems &b);

private:
    static constexpr int kTexts = 7;
    static_assert(kTexts == int(Text::rating) + 1, "a record keeps one text slot per field of Text");
    // Where a text starts: its chunk in the high bits, its offset in the low ones.
    using TextAt = quint32;
    static constexpr TextAt kAbsent = ~TextAt(0);
    static constexpr TextAt kEmpty = kAbsent - 1;

    struct Record {
        qint64 uid = 0;
        qint64 num = 0;
        OptCatchup catchup;
        TextAt texts[kTexts] = { kAbsent, kAbsent, kAbsent, kAbsent, kAbsent, kAbsent, kAbsent };
        quint32 category = 0;
        ContentType type = ContentType::live;
    };

    struct Chunk {
        std::unique_ptr<char[]> bytes;
        qsizetype used = 0;
        qsizetype size = 0;
    };

    // A stored text: its bytes, and whether they are UTF-16 (a text UTF-8 cannot carry).
    struct Stored {
        const char *bytes = nullptr;
        qsizetype size = 0;
        bool utf16 = false;
    };

    TextAt store(const OptText &text);
    Stored stored(TextAt at) const;
    quint32 categoryIndex(const QString &id);
    char *room(qsizetype bytes);

    std::vector<Record> m_records;
    std::vector<Chunk> m_chunks;
    QList<QString> m_categories;
    QHash<QString, quint32> m_categoryIndex;
    quint32 m_lastCategory = 0;
    QStringEncoder m_encoder { QStringEncoder::Utf8, QStringEncoder::Flag::Stateless };
};
