#pragma once

#include "FoldedNames.h"
#include "model/Records.h"

#include <QStringView>

#include <QCoroTask>

#include <memory>
#include <vector>

// What filters, searches and id lookups need of a loaded section, made once per section
// on worker threads: every item's name folded, and the rows of each id.
struct SectionLookups {
    FoldedNames names; // parallel to the section's items
    // Per item, its id's hash in the high half and its row in the low half, ascending:
    // the rows of an id are a binary search away, without a key string per item.
    std::vector<quint64> idRows;

    // Heavy for big lists: run it off the UI thread.
    static std::shared_ptr<const SectionLookups> build(const MediaItems &items);

    // The lookups of `section`, built once while the section lives and shared by every
    // caller; ready at once when they were built before. Main thread only.
    static QCoro::Task<std::shared_ptr<const SectionLookups>> of(SectionPtr section);
    // Starts building the lookups of `section` on worker threads, unless they exist.
    // Main thread only.
    static void prepare(const SectionPtr &section);

    // The last row of `items` (the list the lookups were built from) whose id is `id`,
    // so a later item of an id wins; -1 when none.
    qint32 lastRowOf(const MediaItems &items, QStringView id) const;
};

using SectionLookupsPtr = std::shared_ptr<const SectionLookups>;
