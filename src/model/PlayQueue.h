#pragma once

#include "Records.h"

#include <memory>
#include <optional>

// The rows of a play queue. A screen makes them once when it opens the player; from then on
// they are shared, so handing a queue on copies a pointer, never the rows.
class PlayRows {
public:
    virtual ~PlayRows() = default;
    virtual qint64 count() const = 0;
    // The item to play at `at`, within 0 ..< count().
    virtual PlayItem item(qint64 at) const = 0;
    // The list entry behind the row at `at`, within 0 ..< count(); nothing for rows made of
    // ready items.
    virtual std::optional<MediaItem> media(qint64 at) const = 0;
};

// What a screen hands to the player; no JSON form and no equality.
struct PlayQueue {
    std::shared_ptr<const PlayRows> rows;
    qint64 start = 0;
    bool resume = false;

    qint64 count() const;
    // The item at `at`; nothing outside the queue.
    std::optional<PlayItem> get(qint64 at) const;
    // The list entry behind the row at `at`; nothing outside the queue or for a ready item.
    std::optional<MediaItem> media(qint64 at) const;
};

// Rows of items made ahead: a film, an archived programme, a season's episodes.
class ReadyRows final : public PlayRows {
public:
    explicit ReadyRows(QList<PlayItem> items);
    qint64 count() const override { return m_items.size(); }
    PlayItem item(qint64 at) const override { return m_items.at(at); }
    std::optional<MediaItem> media(qint64) const override { return std::nullopt; }

private:
    QList<PlayItem> m_items;
};

// A queue of items made ahead.
PlayQueue readyQueue(QList<PlayItem> items, qint64 start, bool resume);
