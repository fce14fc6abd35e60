#include "DemoCatalog.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimeZone>

namespace DemoCatalog {

namespace {

constexpr qint64 kSlotSecs = 30 * 60;
constexpr qint64 kSlotsBack = 3 * 48;
constexpr qint64 kSlotsAhead = 48;

const QStringList &programmesOf(const QString &categoryId)
{
    static const QHash<QString, QStringList> table {
        { "1",
            { "Morning Briefing", "World at Noon", "Business Hour", "Evening Edition", "Late Headlines" } },
        { "2", { "Match Day", "Training Ground", "Highlights", "Race Control", "The Final Whistle" } },
        { "3", { "Rivers of Ice", "Hidden Reefs", "Night Hunters", "Red Planet", "The Great Migration" } },
        { "4", { "Jazz Standards", "Chart Show", "Evening Concert", "Studio Sessions", "Piano Hour" } },
    };
    static const QStringList plain { "Test Pattern", "Colour Bars", "Tone and Card" };
    const auto it = table.constFind(categoryId);
    return it == table.constEnd() ? plain : *it;
}

QString base64(const QString &text)
{
    return QString::fromLatin1(text.toUtf8().toBase64());
}

QString utcText(qint64 secs)
{
    return QDateTime::fromSecsSinceEpoch(secs, QTimeZone::utc())
        .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QJsonObject listing(const Title &channel, qint64 slot, qint64 nowSecs)
{
    const QStringList &names = programmesOf(channel.categoryId);
    const qint64 start = slot * kSlotSecs;
    const qint64 end = start + kSlotSecs;
    const QString title = names[int((slot + channel.id.toLongLong()) % names.size())];
    return {
        { "id", QString::number(slot) },
        { "epg_id", channel.detail },
        { "title", base64(title) },
        { "lang", "en" },
        { "start", utcText(start) },
        { "end", utcText(end) },
        { "description", base64(title + QStringLiteral(" on ") + channel.name + u'.') },
        { "channel_id", channel.detail },
        { "start_timestamp", QString::number(start) },
        { "stop_timestamp", QString::number(end) },
        { "now_playing", start <= nowSecs && nowSecs < end ? 1 : 0 },
        { "has_archive", channel.archive && end <= nowSecs ? 1 : 0 },
    };
}

} // namespace

QByteArray guideJson(const QString &streamId, const QDateTime &now, int limit)
{
    QJsonArray listings;
    if (const std::optional<Title> channel = find(ContentType::live, streamId)) {
        const qint64 nowSecs = now.toSecsSinceEpoch();
        const qint64 current = nowSecs / kSlotSecs;
        const qint64 first = limit > 0 ? current : current - kSlotsBack;
        const qint64 last = limit > 0 ? current + limit - 1 : current + kSlotsAhead;
        for (qint64 slot = first; slot <= last; ++slot)
            listings.append(listing(*channel, slot, nowSecs));
    }
    return QJsonDocument(QJsonObject { { "epg_listings", listings } }).toJson(QJsonDocument::Compact);
}

} // namespace DemoCatalog
