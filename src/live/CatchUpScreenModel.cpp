#include "CatchUpScreenModel.h"

#include "GuideRules.h"
#include "app/AppState.h"
#include "app/Formatters.h"
#include "app/Localization.h"
#include "sources/AppClock.h"
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

CatchUpScreenModel::CatchUpScreenModel(ScreenDeps deps, RouteEntry entry, QObject *parent)
    : RouteScreen(std::move(deps), std::move(entry), parent)
    , m_catalog(this->deps().catalog)
    , m_clock(this->deps().clock)
    , m_now(this->deps().clock->now().toLocalTime())
    , m_playlist(activePlaylist())
    , m_channel(payload<Routes::Catchup>() ? payload<Routes::Catchup>()->channel : MediaItem())
    , m_days(m_channel, m_now)
{
    refreshDays();
    if (m_playlist)
        loadGuide();
}

CatchUpScreenModel::~CatchUpScreenModel() = default;

QString CatchUpScreenModel::archiveText() const
{
    return ::tr(QStringLiteral("catchup_archive_days"), { m_days.depth() });
}

QCoro::Task<> CatchUpScreenModel::loadGuide()
{
    const quint64 run = ++m_loadRun;
    const QPointer<CatchUpScreenModel> self(this);
    // The destructor cancels the request before `self` clears: the token tells a screen going away.
    const CancelToken cancel = m_requests.token();
    QList<EpgEntry> guide = co_await m_catalog->archive(*m_playlist, m_channel, cancel);
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
    for (int day = 0; day < m_days.days().size(); ++day) {
        rows.append(
            { QString::number(day), {}, dayLabel(day, m_days.days()[day]), m_days.playableCount(day, m_guide),
                day == 0 ? QStringLiteral("sun.max.fill") : QStringLiteral("calendar") });
    }
    m_dayColumn.setRows(rows);
    m_dayColumn.setSelectedRow(m_day);
    m_dayColumn.setFocusedRow(m_pane == kDayPane ? m_day : -1);
}

QList<EpgEntry> CatchUpScreenModel::dayEntries() const
{
    return m_days.entries(m_day, m_guide);
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
            { QStringLiteral("upcoming"), m_days.isUpcoming(entry) },
            { QStringLiteral("playable"), m_days.isPlayable(entry) },
        });
    }
    return rows;
}

void CatchUpScreenModel::selectDay(int day)
{
    if (day < 0 || day >= m_days.days().size())
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
    if (index < 0 || index >= entries.size() || !m_days.isPlayable(entries[index]) || !m_playlist)
        return;
    const std::optional<PlayItem> item = m_catalog->catchupItem(*m_playlist, m_channel, entries[index]);
    if (!item) {
        app()->showToast(::tr(QStringLiteral("catchup_unavailable")));
        return;
    }
    app()->push(Routes::Player { readyQueue({ *item }, 0, false) });
}
