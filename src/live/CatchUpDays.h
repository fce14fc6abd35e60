#pragma once

#include "model/Records.h"

#include <QDateTime>
#include <QList>
#include <QTimeZone>

#include <optional>

// The archive of one channel seen from a fixed moment: the days it spans (today first), the
// programmes or hourly slots of each day and which of them can be replayed.
class CatchUpDays {
public:
    static constexpr qint64 kSlotSecs = 3600;

    CatchUpDays(MediaItem channel, QDateTime now, QTimeZone zone = QTimeZone::systemTimeZone());

    const QDateTime &now() const { return m_now; }
    // Archive depth in days: the channel's offer, 1 without one.
    qint64 depth() const { return m_depth; }
    // The earliest moment the archive holds (an offer past the guard spans the guard's days).
    QDateTime windowStart() const;
    // Starts of today and the `depth` days before it (at most the guard's days).
    const QList<QDateTime> &days() const { return m_days; }
    // Where day `day` ends: the start of the day after it, so that a 23- or 25-hour day
    // holds exactly its own hours.
    QDateTime dayEnd(int day) const;

    // The guide's programmes touching the day, in guide order; hourly slots of the archive
    // window when the guide is empty; nothing before the guide has loaded or outside the days.
    QList<EpgEntry> entries(int day, const std::optional<QList<EpgEntry>> &guide) const;
    int playableCount(int day, const std::optional<QList<EpgEntry>> &guide) const;
    bool isPlayable(const EpgEntry &entry) const;
    bool isUpcoming(const EpgEntry &entry) const { return entry.start > m_now; }
    // Where the focus starts in a day's list: the last programme that has started, else the first.
    static int initialFocus(const QList<EpgEntry> &entries, const QDateTime &now);

private:
    QList<EpgEntry> hourlySlots(int day) const;

    MediaItem m_channel;
    QDateTime m_now;
    QTimeZone m_zone;
    qint64 m_depth;
    qint64 m_span;
    QList<QDateTime> m_days;
};
