#pragma once

#include "kit/SectionLookups.h"
#include "model/Records.h"

#include <QStringView>

#include <QCoroTask>

#include <memory>

// A loaded live section with its lookups, so that no list change has to walk names or
// build keys again: each channel's name folded for filtering and the rows of each
// channel id.
struct ChannelIndex {
    SectionPtr section;
    SectionLookupsPtr lookups;

    // Empty lookups over an empty section when `section` is null. Heavy for big sections:
    // run it off the UI thread.
    static std::shared_ptr<const ChannelIndex> build(SectionPtr section);
    // The section with the lookups it shares with every screen (built once per section);
    // ready at once when they were prepared before.
    static QCoro::Task<std::shared_ptr<const ChannelIndex>> of(SectionPtr section);

    const MediaItems &all() const { return section->all; }
    // The same items, shared with the section.
    SharedMediaItems items() const { return SharedMediaItems(section, &section->all); }
    const FoldedNames &foldedNames() const { return lookups->names; }
    // The last row of a channel with this id (a later channel of an id wins); -1 when none.
    qint32 lastRowOf(QStringView id) const { return lookups->lastRowOf(all(), id); }
};

using ChannelIndexPtr = std::shared_ptr<const ChannelIndex>;
