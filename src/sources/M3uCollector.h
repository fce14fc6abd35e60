#pragma once

#include "M3uParser.h"
#include "ReadBytes.h"
#include "SectionBuilder.h"
#include "model/Records.h"

#include <QByteArray>
#include <QCoroTask>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

#include <array>
#include <optional>

// How a text is cut for collecting: into `pieces` at entry starts, parsed on threads of
// their own or one after another on the calling thread.
struct M3uSplit {
    int pieces = 1;
    bool onThreads = true;
};

// Sorts M3U entries into live channels, movies and series shows with their episodes, and
// lists each type's groups in first-seen order. One collector serves one load.
class M3uCollector {
public:
    // `uncategorizedName` names the "__uncat__" category.
    explicit M3uCollector(QString uncategorizedName);

    void add(M3uParser::Entry &&entry);
    // Takes what a collector of the text that follows gathered, as if its entries had been
    // added here one by one.
    void append(M3uCollector later);
    bool isEmpty() const;

    // Parses and collects the whole text, pieces of it on up to `threads` threads (0: one
    // per core). Blocks; call it from a worker thread.
    static M3uCollector collect(QByteArrayView bytes, const QString &uncategorizedName, int threads = 0,
        ReadBytes after = ReadBytes::keep);
    // The same with the pieces given.
    static M3uCollector collect(QByteArrayView bytes, const QString &uncategorizedName, M3uSplit split,
        ReadBytes after = ReadBytes::keep);

    MediaItems &items(ContentType type) { return m_items[slot(type)]; }
    const MediaItems &items(ContentType type) const { return m_items[slot(type)]; }
    const QList<CategoryName> &categories(ContentType type) const { return m_categories[slot(type)]; }
    // Show key ("<group id>|<show>") -> the show's episodes in file order.
    QHash<QString, QList<Episode>> episodes;

private:
    static qsizetype slot(ContentType type) { return qsizetype(type); }
    // Adds an item numbered by its position.
    void addNumbered(MediaItem &&item);
    void noteGroup(ContentType type, const QString &groupId);
    void addItem(ContentType type, M3uParser::Entry &&entry, const QString &groupId);
    void addEpisode(M3uParser::Entry &&entry, const QString &groupId);
    void appendType(ContentType type, M3uCollector &later);
    void appendShows(M3uCollector &later);

    QString m_uncategorizedName;
    std::array<MediaItems, 3> m_items;
    std::array<QList<CategoryName>, 3> m_categories;
    std::array<QSet<QString>, 3> m_listed;
    std::array<QString, 3> m_lastGroup;
    // Per show key, the positions of episodes numbered by their count (no marker).
    QHash<QString, QList<qsizetype>> m_countedEpisodes;
};

// The three sections of an M3U text and its series episodes by show key.
struct M3uContent {
    SectionPtr live;
    SectionPtr movie;
    SectionPtr series;
    QHash<QString, QList<Episode>> episodes;
};

// Parses the text and builds its sections; nothing when the text has no entry. Blocks.
// Text held by no one else is given back as it is read. Throws AppError::badData for
// bytes that are plainly no playlist.
std::optional<M3uContent> buildM3uContent(QByteArray bytes, const QString &uncategorizedName);
// The same on the thread pool, so the main thread never parses.
QCoro::Task<std::optional<M3uContent>> buildM3uContentAsync(QByteArray bytes, QString uncategorizedName);
