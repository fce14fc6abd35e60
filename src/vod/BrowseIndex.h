#pragma once

#include "kit/SectionLookups.h"
#include "model/Records.h"

#include <QHash>
#include <QLocale>
#include <QSet>
#include <QString>

#include <vector>

// What the browse grid asks of a section: which category, which favourites, what filter
// text, which order.
struct BrowseQuery {
    enum Sort { catalogOrder = 0, nameAscending = 1, nameDescending = 2 };

    QString categoryId;
    // Ids of the favourite items; read only for the favourites category.
    QSet<QString> favoriteIds;
    QString filter;
    int sort = catalogOrder;
};

// A loaded section prepared once for browsing, so that choosing a category, typing a
// filter or changing the order only picks and orders positions in the section's list:
// positions per category, the names case-folded side by side, and the name order from
// locale collation keys (case-insensitive; equal names keep catalog order).
class BrowseIndex {
public:
    BrowseIndex() = default;
    // Over the section's shared lookups (its folded names). Heavy for big sections: run it
    // off the UI thread.
    BrowseIndex(SectionPtr section, SectionLookupsPtr lookups, const QLocale &locale);

    const SectionPtr &section() const { return m_section; }
    qsizetype size() const { return m_section ? m_section->all.size() : 0; }

    // The positions the grid shows for the query, in their order.
    std::vector<qint32> rows(const BrowseQuery &query) const;

    // Positions of a category's items in catalog order: every item for "__all__", the
    // favourites for "__fav__", nothing for an unknown id.
    std::vector<qint32> category(const QString &id, const QSet<QString> &favoriteIds) const;
    // The positions whose names contain `filter` (trimmed of spaces and tabs) ignoring case.
    std::vector<qint32> filtered(std::vector<qint32> positions, const QString &filter) const;
    // The positions in the query's order; equal names keep their relative order both ways.
    std::vector<qint32> sorted(std::vector<qint32> positions, int sort) const;

private:
    SectionPtr m_section;
    SectionLookupsPtr m_lookups;
    // Positions by name; m_runStart marks where each run of equal names begins (and the end).
    std::vector<qint32> m_byName;
    std::vector<qint32> m_runStart;
};
