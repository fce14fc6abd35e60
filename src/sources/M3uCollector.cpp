#include "M3uCollector.h"

#include "AppError.h"
#include "EpisodeTitle.h"
#include "OffThread.h"
#include "model/ContentKeys.h"

#include <QThread>

#include <malloc.h>

#include <exception>
#include <thread>
#include <vector>

namespace {

// Below this a text is parsed on the calling thread alone.
constexpr qsizetype kMinPieceBytes = 256 * 1024;
// How much of its piece a worker reads before it gives the bytes back.
constexpr qsizetype kGiveBackBytes = 2 * 1024 * 1024;

char16_t asciiLower(char16_t u)
{
    return u >= 'A' && u <= 'Z' ? char16_t(u + ('a' - 'A')) : u;
}

// `piece` (lower case, starting with '/') occurs in the text lower-cased.
bool containsPathPiece(QStringView text, QLatin1StringView piece)
{
    for (qsizetype i = text.indexOf('/'); i >= 0 && i + piece.size() <= text.size();
         i = text.indexOf('/', i + 1)) {
        qsizetype k = 1;
        while (k < piece.size() && asciiLower(text[i + k].unicode()) == char16_t(piece[k].unicode()))
            ++k;
        if (k == piece.size())
            return true;
    }
    return false;
}

ContentType typeOfAddress(QStringView url)
{
    if (containsPathPiece(url, QLatin1StringView("/movie/")))
        return ContentType::movie;
    if (containsPathPiece(url, QLatin1StringView("/series/")))
        return ContentType::series;
    return ContentType::live;
}

// Runs `work(i)` for each i below `count`, on threads of their own (the first on this
// thread) or all on this thread, and rethrows the first failure once all are done.
template <typename Work> void onEachPiece(qsizetype count, bool onThreads, const Work &work)
{
    std::vector<std::exception_ptr> errors(std::size_t(count), nullptr);
    const auto run = [&](qsizetype i) {
        try {
            work(i);
        } catch (...) {
            errors[std::size_t(i)] = std::current_exception();
        }
    };
    {
        std::vector<std::jthread> workers;
        for (qsizetype i = 1; i < count; ++i) {
            if (onThreads)
                workers.emplace_back(run, i);
            else
                run(i);
        }
        run(0);
    }
    for (const std::exception_ptr &error : errors) {
        if (error)
            std::rethrow_exception(error);
    }
}

} // namespace

M3uCollector::M3uCollector(QString uncategorizedName)
    : m_uncategorizedName(std::move(uncategorizedName))
{
}

void M3uCollector::add(M3uParser::Entry &&entry)
{
    const QString groupId = entry.group && !entry.group->isEmpty() ? *entry.group
                                                                   : PseudoCategory::uncategorized;
    const ContentType type = typeOfAddress(entry.url);
    noteGroup(type, groupId);
    if (type == ContentType::series)
        addEpisode(std::move(entry), groupId);
    else
        addItem(type, std::move(entry), groupId);
}

bool M3uCollector::isEmpty() const
{
    return std::all_of(m_items.begin(), m_items.end(), [](const MediaItems &list) { return list.isEmpty(); });
}

void M3uCollector::addNumbered(MediaItem &&item)
{
    MediaItems &list = m_items[slot(item.type)];
    item.uid = list.size();
    item.num = item.uid + 1;
    list.append(item);
}

void M3uCollector::noteGroup(ContentType type, const QString &groupId)
{
    // Entries of a group mostly follow each other.
    QString &last = m_lastGroup[slot(type)];
    if (groupId == last)
        return;
    last = groupId;
    QSet<QString> &listed = m_listed[slot(type)];
    if (listed.contains(groupId))
        return;
    listed.insert(groupId);
    const bool uncategorized = groupId == PseudoCategory::uncategorized;
    m_categories[slot(type)].append({ groupId, uncategorized ? m_uncategorizedName : groupId });
}

void M3uCollector::addItem(ContentType type, M3uParser::Entry &&entry, const QString &groupId)
{
    MediaItem item;
    item.type = type;
    item.id = entry.url;
    item.name = std::move(entry.name);
    item.logo = std::move(entry.logo);
    item.categoryId = groupId;
    item.url = std::move(entry.url);
    if (type == ContentType::live) {
        item.epgId = std::move(entry.tvgId);
        item.catchup = std::move(entry.catchup);
    }
    addNumbered(std::move(item));
}

void M3uCollector::addEpisode(M3uParser::Entry &&entry, const QString &groupId)
{
    EpisodeTitle title = parseEpisodeTitle(entry.name);
    const QString key = groupId + u'|' + title.show;
    auto shows = episodes.find(key);
    if (shows == episodes.end()) {
        MediaItem show;
        show.type = ContentType::series;
        show.id = key;
        show.name = std::move(title.show);
        show.logo = entry.logo;
        show.categoryId = groupId;
        addNumbered(std::move(show));
        shows = episodes.insert(key, {});
    }
    if (!title.episode)
        m_countedEpisodes[key].append(shows->size());
    Episode episode;
    episode.id = entry.url;
    episode.season = title.season;
    episode.number = title.episode.value_or(shows->size() + 1);
    episode.title = std::move(entry.name);
    episode.url = std::move(entry.url);
    episode.image = std::move(entry.logo);
    shows->append(std::move(episode));
}

void M3uCollector::append(M3uCollector later)
{
    for (ContentType type : kAllContentTypes)
        appendType(type, later);
}

void M3uCollector::appendType(ContentType type, M3uCollector &later)
{
    const qsizetype s = slot(type);
    for (CategoryName &category : later.m_categories[s]) {
        if (!m_listed[s].contains(category.first)) {
            m_listed[s].insert(category.first);
            m_categories[s].append(std::move(category));
        }
    }
    if (type == ContentType::series) {
        appendShows(later);
        return;
    }
    MediaItems &list = m_items[s];
    const qsizetype before = list.size();
    list.append(std::move(later.m_items[s]));
    for (qsizetype i = before; i < list.size(); ++i)
        list.renumber(i, i, i + 1);
}

void M3uCollector::appendShows(M3uCollector &later)
{
    const MediaItems &laterShows = later.items(ContentType::series);
    for (qsizetype i = 0; i < laterShows.size(); ++i) {
        const QString id = laterShows.id(i);
        QList<Episode> &laterEpisodes = later.episodes[id];
        const QList<qsizetype> counted = later.m_countedEpisodes.take(id);
        auto known = episodes.find(id);
        if (known == episodes.end()) {
            if (!counted.isEmpty())
                m_countedEpisodes.insert(id, counted);
            episodes.insert(id, std::move(laterEpisodes));
            addNumbered(laterShows.at(i));
            continue;
        }
        // Episodes numbered by their count continue the count of this show.
        const qsizetype before = known->size();
        QList<qsizetype> &countedHere = m_countedEpisodes[id];
        for (qsizetype position : counted) {
            laterEpisodes[position].number += before;
            countedHere.append(position + before);
        }
        known->reserve(before + laterEpisodes.size());
        known->append(std::move(laterEpisodes));
        laterEpisodes = {};
    }
}

M3uCollector M3uCollector::collect(
    QByteArrayView bytes, const QString &uncategorizedName, int threads, ReadBytes after)
{
    const int wanted = threads > 0 ? threads : QThread::idealThreadCount();
    const int parts = int(qBound(qsizetype(1), bytes.size() / kMinPieceBytes, qsizetype(wanted)));
    return collect(bytes, uncategorizedName, M3uSplit { parts, parts > 1 }, after);
}

M3uCollector M3uCollector::collect(
    QByteArrayView bytes, const QString &uncategorizedName, M3uSplit split, ReadBytes after)
{
    const QList<QByteArrayView> pieces = M3uParser::splitAtEntries(bytes, split.pieces);
    const bool onThreads = split.onThreads && pieces.size() > 1;
    std::vector<M3uCollector> collectors(std::size_t(pieces.size()), M3uCollector(uncategorizedName));
    onEachPiece(pieces.size(), onThreads, [&](qsizetype i) {
        M3uCollector &collector = collectors[std::size_t(i)];
        const auto add = [&collector](M3uParser::Entry &&entry) { collector.add(std::move(entry)); };
        if (after == ReadBytes::keep) {
            M3uParser::parse(pieces[i], add);
            return;
        }
        const int stretches = int(qMax(qsizetype(1), pieces[i].size() / kGiveBackBytes));
        for (const QByteArrayView stretch : M3uParser::splitAtEntries(pieces[i], stretches)) {
            M3uParser::parse(stretch, add);
            givePagesBack(stretch);
        }
    });

    M3uCollector result = std::move(collectors.front());
    for (ContentType type : kAllContentTypes) {
        qsizetype total = result.items(type).size();
        for (std::size_t i = 1; i < collectors.size(); ++i)
            total += collectors[i].items(type).size();
        result.items(type).reserve(total);
    }
    for (std::size_t i = 1; i < collectors.size(); ++i)
        result.append(std::move(collectors[i]));
    for (QList<Episode> &list : result.episodes)
        list.squeeze();
    // What the pieces of a big text used and let go returns to the system before the
    // sections are built.
    if (bytes.size() >= kMinPieceBytes)
        malloc_trim(0);
    return result;
}

std::optional<M3uContent> buildM3uContent(QByteArray bytes, const QString &uncategorizedName)
{
    if (M3uParser::isPlainlyNoPlaylist(bytes))
        throw AppError::badData();
    const ReadBytes after = readBytesOf(bytes);
    M3uCollector collector = M3uCollector::collect(bytes, uncategorizedName, 0, after);
    if (collector.isEmpty())
        return std::nullopt;
    M3uContent content;
    SectionPtr *sections[] = { &content.live, &content.movie, &content.series };
    // The sections share nothing but the name, so they are built side by side.
    onEachPiece(qsizetype(std::size(kAllContentTypes)), true, [&](qsizetype i) {
        const ContentType type = kAllContentTypes[std::size_t(i)];
        *sections[qsizetype(type)] = buildSection(
            type, collector.categories(type), std::move(collector.items(type)), uncategorizedName);
    });
    content.episodes = std::move(collector.episodes);
    collector = M3uCollector(uncategorizedName);
    // What building the sections let go returns to the system too.
    malloc_trim(0);
    return content;
}

QCoro::Task<std::optional<M3uContent>> buildM3uContentAsync(QByteArray bytes, QString uncategorizedName)
{
    co_return co_await offThread([bytes = std::move(bytes), name = std::move(uncategorizedName)]() mutable {
        return buildM3uContent(std::move(bytes), name);
    });
}
