#pragma once

#include "kit/FoldedNames.h"
#include "model/Records.h"

#include <QHash>
#include <QString>

#include <memory>
#include <vector>

// Lookups over a loaded live section, built once per section so that no list change has
// to walk names or build keys again: each channel's name folded for filtering and the
// last row of each channel id.
struct ChannelIndex {
    SectionPtr section;
    FoldedNames foldedNames;                                // parallel to section->all
    QHash<QString, qint32> lastRowById;                     // a later channel of an id wins

    // Empty lookups over an empty section when `section` is null.
    static std::shared_ptr<const ChannelIndex> build(SectionPtr section);

    const QList<MediaItem> &all() const { return section->all; }
};

using ChannelIndexPtr = std::shared_ptr<const ChannelIndex>;
