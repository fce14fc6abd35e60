#include "PosterRating.h"

#include <QLocale>

#include <cmath>
#include <cstdio>
#include <cstring>

std::optional<QString> PosterRating::badge(const OptText &rating)
{
    if (!rating || rating->isEmpty() || rating->front().isSpace() || rating->back().isSpace())
        return std::nullopt;
    QLocale posix = QLocale::c();
    posix.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = posix.toDouble(*rating, &ok);
    if (!ok || !std::isfinite(value) || value <= 0)
        return std::nullopt;
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    // A rating too small to show a digit shows no badge rather than a zero.
    if (std::strcmp(text, "0.0") == 0)
        return std::nullopt;
    return QString::fromLatin1(text);
}
