#include "M3uCollector.h"

#include "EpisodeTitle.h"
#include "model/ContentKeys.h"

#include <QThread>
#include <QtConcurrent/QtConcurrentRun>

#include <exception>
#include <thread>
#include <vector>

namespace {

// Below this a text is parsed on the calling thread alone.
constexpr qsizetype kMinPieceBytes = 256 * 1024;
// Fewer bytes than any real entry takes; reserving by it spares the lists' regrowth.
constexpr qsizetype kMinEntryBytes = 128;

char16_t asciiLower(QChar c)
{
    const char16_t u = c.unicode();
    return u >= 'A' && u <= 'Z' ? char16_t(u + ('a' - 'A')) : u;
}

// `piece` (lower case, starting with '/') occurs in the text lower-cased.
bool containsPathPiece(QStringView text, QLatin1StringView piece)
{
    for (qsizetype i = text.indexOf(u'/'); i >= 0 && i + piece.size() <= text.size(); i = text.indexOf(u'/', i + 1)) {
        qsizetype k = 1;
        while (k < piece.size() && asciiLower(text[i + k]) == char16_t(piece[k].unicode()))
            ++k;
        if (k == piece.size())
            return true;
    }
    return false;
}

ContentType typeOfAddress(const QString &url)
{
    if (containsPathPiece(url, QLatin1StringView("/movie/")))
        return ContentType::movie;
    if (containsPathPiece(url, QLatin1StringView("/series/")))
        return ContentType::series;
    return ContentType::live;
}

void renumber(MediaItem &item, qsizetype uid)
{
    item.uid = uid;
    item.num = uid + 1;
}

} // namespace

M3uCollector::M3uCollector(QString uncategorizedName)
    : m_uncategorizedName(std::move(uncategorizedName))
{
}

void M3uCollector::add(M3uParser::Entry &&entry)
{
    const QString groupId = entry.group && !entry.group->isEmpty() ? *entry.group : PseudoCategory::uncategorized;
    const ContentType type = typeOfAddress(entry.url);
    noteGroup(type, groupId);
    if (type == ContentType::series)
        addEpisode(std::move(entry), groupId);
    else
        addItem(type, std::move(entry), groupId);
}

bool M3uCollector::isEmpty() const
{
    return std::all_of(m_items.begin(), m_items.end(), [](const QList<MediaItem> &list) { return list.isEmpty(); });
}

void M3uCollector::reserveItems(qsizetype count)
{
    m_items[slot(ContentType::live)].reserve(count);
    m_items[slot(ContentType::movie)].reserve(count);
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
    QList<MediaItem> &list = m_items[slot(type)];
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
    renumber(item, list.size());
    list.append(std::move(item));
}

void M3uCollector::addEpisode(M3uParser::Entry &&entry, const QString &groupId)
{
    EpisodeTitle title = parseEpisodeTitle(entry.name);
    const QString key = groupId + u'|' + title.show;
    auto shows = episodes.find(key);
    if (shows == episodes.end()) {
        QList<MediaItem> &list = m_items[slot(ContentType::series)];
        MediaItem show;
        show.type = ContentType::series;
        show.id = key;
        show.name = std::move(title.show);
        show.logo = entry.logo;
        show.categoryId = groupId;
        renumber(show, list.size());
        list.append(std::move(show));
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
    QList<MediaItem> &list = m_items[s];
    for (MediaItem &item : later.m_items[s]) {
        renumber(item, list.size());
        list.append(std::move(item));
    }
    later.m_items[s] = {};
}

void M3uCollector::appendShows(M3uCollector &later)
{
    QList<MediaItem> &shows = m_items[slot(ContentType::series)];
    for (MediaItem &show : later.items(ContentType::series)) {
        QList<Episode> &laterEpisodes = later.episodes[show.id];
        const QList<qsizetype> counted = later.m_countedEpisodes.take(show.id);
        auto known = episodes.find(show.id);
        if (known == episodes.end()) {
            if (!counted.isEmpty())
                m_countedEpisodes.insert(show.id, counted);
            episodes.insert(show.id, std::move(laterEpisodes));
            renumber(show, shows.size());
            shows.append(std::move(show));
            continue;
        }
        // Episodes numbered by their count continue the count of this show.
        const qsizetype before = known->size();
        QList<qsizetype> &countedHere = m_countedEpisodes[show.id];
        for (qsizetype position : counted) {
            laterEpisodes[position].number += before;
            countedHere.append(position + before);
        }
        known->append(std::move(laterEpisodes));
    }
}

M3uCollector M3uCollector::collect(QByteArrayView bytes, const QString &uncategorizedName, int threads)
{
    const int wanted = threads > 0 ? threads : QThread::idealThreadCount();
    const int parts = int(qBound(qsizetype(1), bytes.size() / kMinPieceBytes, qsizetype(wanted)));
    const QList<QByteArrayView> pieces = M3uParser::splitAtEntries(bytes, parts);
    std::vector<M3uCollector> collectors(pieces.size(), M3uCollector(uncategorizedName));
    std::vector<std::exception_ptr> errors(pieces.size());
    const auto run = [&](qsizetype i) {
        try {
            collectors[i].reserveItems(pieces[i].size() / kMinEntryBytes);
            M3uParser::parse(pieces[i], [&collector = collectors[i]](M3uParser::Entry &&entry) {
                collector.add(std::move(entry));
            });
        } catch (...) {
            errors[i] = std::current_exception();
        }
    };
    {
        std::vector<std::jthread> workers;
        for (qsizetype i = 1; i < pieces.size(); ++i)
            workers.emplace_back(run, i);
        run(0);
    }
    for (const std::exception_ptr &error : errors) {
        if (error)
            std::rethrow_exception(error);
    }
    std::array<qsizetype, 2> totals{};
    for (const M3uCollector &collector : collectors) {
        totals[0] += collector.items(ContentType::live).size();
        totals[1] += collector.items(ContentType::movie).size();
    }
    M3uCollector result = std::move(collectors.front());
    result.items(ContentType::live).reserve(totals[0]);
    result.items(ContentType::movie).reserve(totals[1]);
    // Each type's lists are separate, so the types merge side by side.
    const auto merge = [&](ContentType type) {
        for (qsizetype i = 1; i < pieces.size(); ++i)
            result.appendType(type, collectors[i]);
    };
    {
        std::jthread live(merge, ContentType::live);
        std::jthread movies(merge, ContentType::movie);
        merge(ContentType::series);
    }
    return result;
}

std::optional<M3uContent> buildM3uContent(QByteArrayView bytes, const QString &uncategorizedName)
{
    M3uCollector collector = M3uCollector::collect(bytes, uncategorizedName);
    if (collector.isEmpty())
        return std::nullopt;
    M3uContent content;
    SectionPtr *sections[] = { &content.live, &content.movie, &content.series };
    const auto build = [&](ContentType type) {
        *sections[qsizetype(type)] = buildSection(type, collector.categories(type),
                                                  std::move(collector.items(type)), uncategorizedName);
    };
    {
        // The sections share nothing but the name; bad_alloc here ends the process anyway.
        std::jthread movies(build, ContentType::movie);
        std::jthread series(build, ContentType::series);
        build(ContentType::live);
    }
    content.episodes = std::move(collector.episodes);
    return content;
}

QFuture<std::optional<M3uContent>> buildM3uContentAsync(QByteArray bytes, QString uncategorizedName)
{
    return QtConcurrent::run([bytes = std::move(bytes), name = std::move(uncategorizedName)] {
        return buildM3uContent(bytes, name);
    });
}
