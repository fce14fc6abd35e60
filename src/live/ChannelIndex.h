#pragma once

#include "kit/FoldedNames.h"
#include "model/Records.h"

#include <QString>
#include <QStringView>

#include <memory>
#include <vector>

// Lookups over a loaded live section, built once per section so that no list change has
// to walk names or build keys again: each channel's name folded for filtering and the
// rows of each channel id.
struct ChannelIndex {
    SectionPtr section;
    FoldedNames foldedNames; // parallel to section->all
    // Per channel, its id's hash in the high half and its row in the low half, ascending:
    // the rows of an id are a binary search away, without a key string per channel.
    std::vector<quint64> idRows;

    // Empty lookups over an empty section when `section` is null. Heavy for big sections:
    // run it off the UI thread.
    static std::shared_ptr<const ChannelIndex> build(SectionPtr section);

    const MediaItems &all() const { return section->all; }
    // The same items, shared with the section.
    SharedMediaItems items() const { return SharedMediaItems(section, &section->all); }
    // The last row of a channel with this id (a later channel of an id wins); -1 when none.
    qint32 lastRowOf(QStringView id) const;
};

using ChannelIndexPtr = std::shared_ptr<const ChannelIndex>;
