#include "MetaChips.h"

#include "kit/PosterRating.h"
#include "kit/Theme.h"

#include <QColor>
#include <QVariantMap>

namespace {

bool hasText(const OptText &text)
{
    return text && !text->isEmpty();
}

QVariantMap chip(const QString &text, const QColor &color, const QString &icon)
{
    return { { QStringLiteral("text"), text }, { QStringLiteral("color"), color },
        { QStringLiteral("icon"), icon } };
}

} // namespace

QVariantList metaChips(
    const OptText &year, const OptText &rating, const OptText &duration, const OptText &genre)
{
    QVariantList chips;
    if (hasText(year))
        chips.append(chip(year->left(4), Theme::textDim(), QStringLiteral("calendar")));
    if (const std::optional<QString> stars = PosterRating::badge(rating))
        chips.append(chip(*stars, Theme::amber(), QStringLiteral("star.fill")));
    if (hasText(duration))
        chips.append(chip(*duration, Theme::cyan(), QStringLiteral("clock")));
    if (hasText(genre))
        chips.append(chip(*genre, Theme::violetLight(), QString()));
    return chips;
}
