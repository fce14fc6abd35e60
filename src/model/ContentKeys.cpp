#include "ContentKeys.h"

#include "Lenient.h"

QString rawValue(ContentType type)
{
    switch (type) {
    case ContentType::live:
        return QStringLiteral("LIVE");
    case ContentType::movie:
        return QStringLiteral("MOVIE");
    case ContentType::series:
        return QStringLiteral("SERIES");
    }
    return {};
}

std::optional<ContentType> contentTypeFromRaw(const QString &raw)
{
    for (ContentType type : kAllContentTypes) {
        if (raw == rawValue(type))
            return type;
    }
    return std::nullopt;
}

QString itemKey(ContentType type, qint64 playlistId, const QString &id)
{
    return QString::number(playlistId) + QLatin1Char('|') + rawValue(type) + QLatin1Char('|') + id;
}

QString itemKey(const FavoriteEntry &entry)
{
    return itemKey(entry.type, entry.playlistId, entry.id);
}

QString catchupKey(qint64 playlistId, const QString &channelId, const QDateTime &start)
{
    return QString::number(playlistId) + QStringLiteral("|CATCHUP|") + channelId + QLatin1Char('|')
        + QString::number(start.toMSecsSinceEpoch() / 1000);
}

QString episodeKey(qint64 playlistId, const QString &episodeId)
{
    return QString::number(playlistId) + QStringLiteral("|EP|") + episodeId;
}

QSet<QString> favoriteKeys(const QList<FavoriteEntry> &entries)
{
    QSet<QString> keys;
    for (const FavoriteEntry &entry : entries)
        keys.insert(itemKey(entry));
    return keys;
}

QList<FavoriteEntry> favoritesOf(const QList<FavoriteEntry> &entries, qint64 playlistId, ContentType type)
{
    QList<FavoriteEntry> found;
    for (const FavoriteEntry &entry : entries) {
        if (entry.playlistId == playlistId && entry.type == type)
            found.append(entry);
    }
    return found;
}

MediaItems sectionItems(const Section &section, const QString &categoryId)
{
    if (categoryId == PseudoCategory::all)
        return section.all;
    MediaItems items;
    for (const qint32 at : section.byCategory.value(categoryId))
        items.append(section.all[at]);
    return items;
}

std::optional<Catchup> catchupFromAttributes(const OptText &mode, const OptText &days, const OptText &source)
{
    if (!mode)
        return std::nullopt;
    QString kind = mode->toLower();
    if (kind == u"flussonic" || kind == u"fs")
        kind = QStringLiteral("shift");
    const bool needsSource = kind == u"default" || kind == u"append";
    if (!needsSource && kind != u"shift" && kind != u"xc")
        return std::nullopt;
    const bool hasSource = source && !source->isEmpty();
    if (needsSource && !hasSource)
        return std::nullopt;

    Catchup catchup;
    catchup.mode = kind;
    const std::optional<qint64> count = days ? parseDecimalInteger(*days) : std::nullopt;
    catchup.days = count && *count >= 1 ? *count : 1;
    if (hasSource)
        catchup.source = source;
    return catchup;
}
