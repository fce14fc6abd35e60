#include "CatchUpScreen.h"

#include "GuideRules.h"
#include "app/AppClock.h"
#include "app/AppState.h"
#include "app/Formatters.h"
#include "app/KeyRouter.h"
#include "app/Localization.h"
#include "sources/Catalog.h"

#include <algorithm>

namespace {

QString dayLabel(int day, const QDateTime &start)
{
    if (day == 0)
        return ::tr(QStringLiteral("today"));
    if (day == 1)
        return ::tr(QStringLiteral("yesterday"));
    return formatDayShort(start);
}

} // namespace

CatchUpScreenModel::CatchUpScreenModel(QObject *parent)
    : CatchUpScreenModel(CatchUpScreenDeps { AppState::shared(), Catalog::shared(), KeyRouter::shared(), AppClock::system(),
                                             QDateTime::currentDateTime() },
                         parent)
{
}

CatchUpScreenModel::CatchUpScreenModel(const CatchUpScreenDeps &deps, QObject *parent)
    : KeyHandler(deps.router, parent)
    , m_app(deps.app)
    , m_catalog(deps.catalog)
    , m_clock(deps.clock)
    , m_now(deps.now)
    , m_zone(deps.zone)
    , m_days(std::make_unique<CatchUpDays>(MediaItem(), m_now, m_zone))
{
    refreshDays();
}

CatchUpScreenModel::~CatchUpScreenModel() = default;

void CatchUpScreenModel::setEntryId(const QString &entryId)
{
    if (entryId == m_entryId || !m_app)
        return;
    m_entryId = entryId;
    const std::optional<Route> route = m_app->routeOf(QUuid::fromString(entryId));
    if (const auto *catchup = route ? std::get_if<Routes::Catchup>(&*route) : nullptr)
        showChannel(catchup->channel);
}

void CatchUpScreenModel::showChannel(const MediaItem &channel)
{
    m_channel = channel;
    m_days = std::make_unique<CatchUpDays>(channel, m_now, m_zone);
    m_guide.reset();
    m_day = 0;
    m_focus = -1;
    refreshDays();
    emit channelChanged();
    emit guideChanged();
    emit programmesChanged();
    if (hasPlaylist())
        loadGuide();
}

bool CatchUpScreenModel::hasPlaylist() const
{
    return m_app && m_app->activePlaylist().has_value();
}

QString CatchUpScreenModel::archiveText() const
{
    return ::tr(QStringLiteral("catchup_archive_days"), { m_days->depth() });
}

QCoro::Task<> CatchUpScreenModel::loadGuide()
{
    const quint64 run = ++m_loadRun;
    const QPointer<CatchUpScreenModel> self(this);
    // The destructor cancels the request before `self` clears: the token tells a screen going away.
    const CancelToken cancel = m_requests.token();
    QList<EpgEntry> guide = co_await m_catalog->archive(*m_app->activePlaylist(), m_channel, cancel);
    if (!self || cancel.isCancelled() || run != m_loadRun)
        co_return;
    m_guide = std::move(guide);
    refreshDays();
    emit guideChanged();
    emit programmesChanged();
    focusCurrent();
}

void CatchUpScreenModel::refreshDays()
{
    QList<CategoryEntry> rows;
    for (int day = 0; day < m_days->days().size(); ++day) {
        rows.append({ QString::number(day), {}, dayLabel(day, m_days->days()[day]), m_days->playableCount(day, m_guide),
                      day == 0 ? QStringLiteral("sun.max.fill") : QStringLiteral("calendar") });
    }
    m_dayColumn.setRows(rows);
    m_dayColumn.setSelectedRow(m_day);
    m_dayColumn.setFocusedRow(m_pane == kDayPane ? m_day : -1);
}

QList<EpgEntry> CatchUpScreenModel::dayEntries() const
{
    return m_days->entries(m_day, m_guide);
}

QVariantList CatchUpScreenModel::programmes() const
{
    QVariantList rows;
    for (const EpgEntry &entry : dayEntries()) {
        rows.append(QVariantMap {
            { QStringLiteral("start"), formatClock(entry.start) },
            { QStringLiteral("end"), formatClock(entry.end) },
            { QStringLiteral("title"), entry.title },
            { QStringLiteral("description"), entry.description.value_or(QString()) },
            { QStringLiteral("onNow"), isOnAir(entry, m_now) },
            { QStringLiteral("upcoming"), m_days->isUpcoming(entry) },
            { QStringLiteral("playable"), m_days->isPlayable(entry) },
        });
    }
    return rows;
}

void CatchUpScreenModel::selectDay(int day)
{
    if (day < 0 || day >= m_days->days().size())
        return;
    setDay(day);
}

void CatchUpScreenModel::setDay(int day)
{
    const bool changed = day != m_day;
    m_day = day;
    setFocus(-1, false);
    refreshDays();
    if (changed) {
        emit programmesChanged();
        if (m_guide)
            focusCurrent();
    }
}

// Puts the focus on the day's current programme and scrolls to it a moment later, once
// the list shows the day.
void CatchUpScreenModel::focusCurrent()
{
    const QList<EpgEntry> entries = dayEntries();
    if (entries.isEmpty())
        return;
    setFocus(CatchUpDays::initialFocus(entries, m_now), false);
    const int row = m_focus;
    m_scroll = m_clock->after(kScrollDelayMs, [this, row] { emit programmeScrollRequested(row); });
}

void CatchUpScreenModel::setFocus(int focus, bool scroll)
{
    m_focus = focus;
    emit focusChanged();
    if (scroll)
        emit programmeScrollRequested(focus);
}

void CatchUpScreenModel::play(int index)
{
    const QList<EpgEntry> entries = dayEntries();
    if (index < 0 || index >= entries.size() || !m_days->isPlayable(entries[index]) || !m_app)
        return;
    const std::optional<Playlist> playlist = m_app->activePlaylist();
    if (!playlist)
        return;
    const std::optional<PlayItem> item = m_catalog->catchupItem(*playlist, m_channel, entries[index]);
    if (!item) {
        m_app->showToast(::tr(QStringLiteral("catchup_unavailable")));
        return;
    }
    m_app->push(Routes::Player { readyQueue({ *item }, 0, false) });
}

void CatchUpScreenModel::back()
{
    if (m_app)
        m_app->pop();
}
