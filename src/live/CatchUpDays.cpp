#include "CatchUpDays.h"

#include <algorithm>

CatchUpDays::CatchUpDays(MediaItem channel, QDateTime now, QTimeZone zone)
    : m_channel(std::move(channel))
    , m_now(std::move(now))
    , m_zone(std::move(zone))
    , m_depth(m_channel.catchup ? std::max<qint64>(1, m_channel.catchup->days) : 1)
    , m_span(std::min(m_depth, kCatchupDaysGuard))
{
    const QDate today = m_now.toTimeZone(m_zone).date();
    for (qint64 i = 0; i <= m_span; ++i)
        m_days.append(today.addDays(-i).startOfDay(m_zone));
}

QDateTime CatchUpDays::windowStart() const
{
    return m_now.addSecs(-m_span * 86400);
}

QDateTime CatchUpDays::dayEnd(int day) const
{
    return day == 0 ? m_days[0].date().addDays(1).startOfDay(m_zone) : m_days[day - 1];
}

QList<EpgEntry> CatchUpDays::entries(int day, const std::optional<QList<EpgEntry>> &guide) const
{
    if (!guide || day < 0 || day >= m_days.size())
        return {};
    if (guide->isEmpty())
        return hourlySlots(day);
    const QDateTime start = m_days[day];
    const QDateTime end = dayEnd(day);
    QList<EpgEntry> inDay;
    std::copy_if(guide->cbegin(), guide->cend(), std::back_inserter(inDay),
        [&](const EpgEntry &entry) { return entry.start < end && entry.end > start; });
    return inDay;
}

QList<EpgEntry> CatchUpDays::hourlySlots(int day) const
{
    const qint64 first = (windowStart().toSecsSinceEpoch() / kSlotSecs + 1) * kSlotSecs;
    const qint64 limit = std::min(m_now.toSecsSinceEpoch(), dayEnd(day).toSecsSinceEpoch());
    QList<EpgEntry> result;
    for (qint64 start = std::max(first, m_days[day].toSecsSinceEpoch()); start < limit; start += kSlotSecs) {
        result.append(EpgEntry { m_channel.name, std::nullopt, QDateTime::fromSecsSinceEpoch(start, m_zone),
            QDateTime::fromSecsSinceEpoch(start + kSlotSecs, m_zone), std::nullopt });
    }
    return result;
}

int CatchUpDays::playableCount(int day, const std::optional<QList<EpgEntry>> &guide) const
{
    const QList<EpgEntry> list = entries(day, guide);
    return int(std::count_if(
        list.cbegin(), list.cend(), [this](const EpgEntry &entry) { return isPlayable(entry); }));
}

bool CatchUpDays::isPlayable(const EpgEntry &entry) const
{
    return entry.start < m_now && entry.start >= windowStart()
        && (entry.hasArchive.value_or(true) || entry.end > m_now);
}

int CatchUpDays::initialFocus(const QList<EpgEntry> &entries, const QDateTime &now)
{
    for (qsizetype i = entries.size() - 1; i >= 0; --i) {
        if (entries[i].start < now)
            return int(i);
    }
    return 0;
}
