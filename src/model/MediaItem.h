#pragma once

#include "Catchup.h"
#include "OptText.h"

#include <QString>

enum class ContentType { live, movie, series };

inline constexpr ContentType kAllContentTypes[]
    = { ContentType::live, ContentType::movie, ContentType::series };

struct MediaItem {
    qint64 uid = 0;
    ContentType type = ContentType::live;
    QString id;
    QString name;
    OptText logo;
    QString categoryId;
    OptText url;
    OptText epgId;
    OptText ext;
    OptText rating;
    qint64 num = 0;
    OptCatchup catchup;
    bool operator==(const MediaItem &) const = default;
};
