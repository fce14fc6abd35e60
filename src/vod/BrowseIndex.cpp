#include "BrowseIndex.h"

#include "model/ContentKeys.h"

#include <QCollator>

#include <algorithm>
#include <numeric>

namespace {

std::vector<qint32> allPositions(qsizetype count)
{
    std::vector<qint32> positions(static_cast<size_t>(count));
    std::iota(positions.begin(), positions.end(), 0);
    return positions;
}

} // namespace

BrowseIndex::BrowseIndex(SectionPtr section, SectionLookupsPtr lookups, const QLocale &locale)
    : m_section(std::move(section))
    , m_lookups(std::move(lookups))
{
    if (!m_section)
        return;
    const MediaItems &items = m_section->all;
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<QCollatorSortKey> keys;
    keys.reserve(size_t(items.size()));
    for (qsizetype i = 0; i < items.size(); ++i)
        keys.push_back(collator.sortKey(items.name(i)));

    m_byName = allPositions(items.size());
    std::stable_sort(m_byName.begin(), m_byName.end(),
        [&keys](qint32 a, qint32 b) { return keys[size_t(a)].compare(keys[size_t(b)]) < 0; });
    for (size_t i = 0; i < m_byName.size(); ++i) {
        if (i == 0 || keys[size_t(m_byName[i])].compare(keys[size_t(m_byName[i - 1])]) != 0)
            m_runStart.push_back(qint32(i));
    }
    m_runStart.push_back(qint32(m_byName.size()));
}

std::vector<qint32> BrowseIndex::rows(const BrowseQuery &query) const
{
    return sorted(filtered(category(query.categoryId, query.favoriteIds), query.filter), query.sort);
}

std::vector<qint32> BrowseIndex::category(const QString &id, const QSet<QString> &favoriteIds) const
{
    if (!m_section)
        return {};
    if (id == PseudoCategory::all)
        return allPositions(size());
    if (id == PseudoCategory::favorites) {
        std::vector<qint32> positions;
        if (favoriteIds.isEmpty())
            return positions;
        const MediaItems &items = m_section->all;
        for (qint32 at = 0; at < items.size(); ++at) {
            if (favoriteIds.contains(items.id(at)))
                positions.push_back(at);
        }
        return positions;
    }
    return m_section->byCategory.value(id);
}

std::vector<qint32> BrowseIndex::filtered(std::vector<qint32> positions, const QString &filter) const
{
    if (!m_lookups)
        return positions;
    return m_lookups->names.matching(std::move(positions), filter);
}

std::vector<qint32> BrowseIndex::sorted(std::vector<qint32> positions, int sort) const
{
    if (sort != BrowseQuery::nameAscending && sort != BrowseQuery::nameDescending)
        return positions;
    // Walking the name order once keeps this linear whatever the number of positions.
    std::vector<bool> wanted(size_t(size()), false);
    for (qint32 at : positions)
        wanted[size_t(at)] = true;
    const auto takeRun = [&](size_t run) {
        for (qint32 i = m_runStart[run]; i < m_runStart[run + 1]; ++i) {
            if (wanted[size_t(m_byName[size_t(i)])])
                positions.push_back(m_byName[size_t(i)]);
        }
    };
    positions.clear();
    const size_t runs = m_runStart.empty() ? 0 : m_runStart.size() - 1;
    for (size_t run = 0; run < runs; ++run)
        takeRun(sort == BrowseQuery::nameAscending ? run : runs - 1 - run);
    return positions;
}
