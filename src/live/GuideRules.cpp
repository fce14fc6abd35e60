#include "GuideRules.h"

#include <algorithm>

bool isOnAir(const EpgEntry &entry, const QDateTime &now)
{
    return entry.start <= now && now < entry.end;
}

double airProgress(const EpgEntry &entry, const QDateTime &now)
{
    const double elapsed = double(entry.start.msecsTo(now)) / 1000.0;
    const double duration = double(entry.start.msecsTo(entry.end)) / 1000.0;
    return std::clamp(elapsed / std::max(duration, 1.0), 0.0, 1.0);
}
