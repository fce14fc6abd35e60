#pragma once

#include <QString>

#include <optional>

// What an episode's entry name says: "Show S01E02" -> (Show, 1, 2).
struct EpisodeTitle {
    QString show;
    qint64 season = 1;
    std::optional<qint64> episode;
    bool operator==(const EpisodeTitle &) const = default;
};

// Finds the first season-and-episode marker (S<1-3 digits>, optional separator,
// E<1-4 digits> ending at a word boundary). Without one the whole name is the show,
// season 1, no episode; an empty show part gives the whole name.
EpisodeTitle parseEpisodeTitle(const QString &name);
