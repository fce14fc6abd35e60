#include "BenchCommands.h"

#include "kit/ContentListModel.h"
#include "model/ContentKeys.h"
#include "sources/SectionBuilder.h"
#include "vod/BrowseIndex.h"

#include <QElapsedTimer>

#include <cstdio>

namespace {

constexpr int kCategories = 40;

SectionPtr movieSection(int count)
{
    Sequence random(11);
    QList<MediaItem> items;
    items.reserve(count);
    for (int i = 0; i < count; ++i) {
        MediaItem item;
        item.uid = i;
        item.type = ContentType::movie;
        item.id = QString::number(i + 1);
        item.name = movieName(i + 1, random);
        item.categoryId = QString::number(100 + random.next(kCategories));
        items.append(std::move(item));
    }
    QList<CategoryName> categories;
    for (int c = 0; c < kCategories; ++c)
        categories.append({ QString::number(100 + c), QStringLiteral("Category %1").arg(c) });
    return buildSection(ContentType::movie, categories, std::move(items), QStringLiteral("Uncategorized"));
}

// The grid's rows for the query, handed to the list model as the screen does; in ms.
double showRows(const BrowseIndex &index, ContentListModel &grid, const BrowseQuery &query)
{
    QElapsedTimer timer;
    timer.start();
    grid.setRows(index.rows(query));
    return double(timer.nsecsElapsed()) / 1e6;
}

// A movie section of N items in 40 categories, browsed as a person would: all, a few
// categories, a five-letter filter typed a letter at a time, then the name orders.
int runBrowse(const QStringList &args)
{
    const int count = args.isEmpty() ? 0 : args.at(0).toInt();
    if (count <= 0)
        return 2;
    const SectionPtr section = movieSection(count);
    QElapsedTimer timer;
    timer.start();
    const BrowseIndex index(
        section, SectionLookups::build(section->all), QLocale(QLocale::English, QLocale::UnitedStates));
    std::fprintf(stderr, "prepare_ms=%.1f\n", double(timer.nsecsElapsed()) / 1e6);
    ContentListModel grid;
    grid.setItems(ContentListModel::itemsOf(section), 1);

    BrowseQuery query { .categoryId = PseudoCategory::all };
    double categoryWorst = showRows(index, grid, query);
    for (int c = 0; c < 5; ++c) {
        query.categoryId = QString::number(100 + c * 7);
        categoryWorst = std::max(categoryWorst, showRows(index, grid, query));
    }
    query.categoryId = PseudoCategory::all;
    categoryWorst = std::max(categoryWorst, showRows(index, grid, query));

    double filterWorst = 0;
    const QString typed = QStringLiteral("title");
    for (qsizetype letters = 1; letters <= typed.size(); ++letters) {
        query.filter = typed.left(letters);
        filterWorst = std::max(filterWorst, showRows(index, grid, query));
    }
    query.filter.clear();
    showRows(index, grid, query);

    double sortWorst = 0;
    for (int sort : { BrowseQuery::nameAscending, BrowseQuery::nameDescending, BrowseQuery::catalogOrder }) {
        query.sort = sort;
        sortWorst = std::max(sortWorst, showRows(index, grid, query));
    }
    std::printf(
        "browse n=%d category_worst_ms=%.1f filter_worst_ms=%.1f sort_worst_ms=%.1f peak_rss_mb=%ld\n", count,
        categoryWorst, filterWorst, sortWorst, peakRssMb());
    return 0;
}

constexpr BenchCommand kCommands[] = {
    { "browse", "N", runBrowse },
};

} // namespace

std::span<const BenchCommand> browseBenchCommands()
{
    return kCommands;
}
