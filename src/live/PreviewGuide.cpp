#include "PreviewGuide.h"

#include "GuideRules.h"
#include "app/Formatters.h"
#include "sources/AppClock.h"
#include "sources/Catalog.h"

#include <QPointer>

PreviewGuide::PreviewGuide(Catalog *catalog, AppClock *clock, QObject *parent)
    : QObject(parent)
    , m_catalog(catalog)
    , m_clock(clock)
{
}

PreviewGuide::~PreviewGuide() = default;

void PreviewGuide::show(const std::optional<Playlist> &playlist, const std::optional<MediaItem> &channel)
{
    const quint64 generation = ++m_generation;
    m_settle.reset();
    m_request = std::make_unique<CancelSource>();
    setEpg(std::nullopt);
    if (!playlist || !channel)
        return;
    m_settle = m_clock->after(kSettleMs, [this, generation, playlist = *playlist, streamId = channel->id] {
        fetch(generation, playlist, streamId, m_request->token());
    });
}

QCoro::Task<> PreviewGuide::fetch(quint64 generation, Playlist playlist, QString streamId, CancelToken cancel)
{
    const QPointer<PreviewGuide> self(this);
    QList<EpgEntry> entries = co_await m_catalog->shortEpg(std::move(playlist), std::move(streamId), cancel);
    // The destructor cancels the request before `self` clears: the token tells a guide going away.
    if (!self || cancel.isCancelled() || generation != m_generation)
        co_return;
    setEpg(std::move(entries));
}

void PreviewGuide::setEpg(std::optional<QList<EpgEntry>> epg)
{
    if (epg == m_epg)
        return;
    m_epg = std::move(epg);
    emit changed();
}

QVariantList PreviewGuide::rows() const
{
    QVariantList rows;
    if (!m_epg)
        return rows;
    const QDateTime now = m_clock->now().toLocalTime();
    for (const EpgEntry &entry : m_epg->mid(0, kShownEntries)) {
        const bool onAir = isOnAir(entry, now);
        rows.append(QVariantMap {
            { QStringLiteral("times"),
                formatClock(entry.start) + QStringLiteral(" – ") + formatClock(entry.end) },
            { QStringLiteral("title"), entry.title },
            { QStringLiteral("onAir"), onAir },
            { QStringLiteral("progress"), onAir ? airProgress(entry, now) : 0.0 },
            { QStringLiteral("description"), onAir ? entry.description.value_or(QString()) : QString() },
        });
    }
    return rows;
}
