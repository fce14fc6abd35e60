#include "BenchCommands.h"

#include "kit/ContentListModel.h"
#include "live/LiveLists.h"
#include "model/ContentKeys.h"
#include "sources/SectionBuilder.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

constexpr int kCategories = 3000;
constexpr qint64 kPlaylistId = 1;

// N generated channels spread evenly over the categories, in category order.
SectionPtr generatedLiveSection(int count)
{
    const int perCategory = std::max(1, (count + kCategories - 1) / kCategories);
    QList<CategoryName> categories;
    for (int group = 0; group * perCategory < count; ++group)
        categories.append({ QString::number(group), QString::fromUtf8(generatedChannelGroup(group)) });
    QList<MediaItem> items;
    items.reserve(count);
    for (int i = 0; i < count; ++i) {
        MediaItem item;
        item.uid = i + 1;
        item.id = QString::number(100000 + i);
        item.name = QString::fromUtf8(generatedChannelName(i));
        item.categoryId = QString::number(i / perCategory);
        item.num = i + 1;
        items.append(std::move(item));
    }
    return buildSection(ContentType::live, categories, std::move(items), QStringLiteral("Uncategorized"));
}

double timedMs(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

// The lookups of a live section of N channels, then the list rebuilds of the live screen:
// "all", category switches, and a five-letter filter typed one key at a time; each step also
// hands the rows to the list model as the screen does.
int runLive(const QStringList &args)
{
    const int count = args.isEmpty() ? 0 : args.at(0).toInt();
    if (count <= 0)
        return 2;
    const SectionPtr section = generatedLiveSection(count);
    LiveLists lists(kPlaylistId);
    ContentListModel model;
    model.setItems(ContentListModel::itemsOf(section), kPlaylistId);
    ChannelIndexPtr index;
    const double indexMs = timedMs([&] { index = ChannelIndex::build(section); });
    lists.setSection(index);
    const auto show = [&] { model.updateRows(lists.rows()); };

    lists.selectCategory(section->categories.first().id);
    const double allMs = timedMs([&] {
        lists.selectCategory(PseudoCategory::all);
        show();
    });
    double categoryWorst = 0;
    const qsizetype step = std::max<qsizetype>(1, section->categories.size() / 60);
    for (qsizetype at = 0; at < section->categories.size(); at += step) {
        categoryWorst = std::max(categoryWorst, timedMs([&] {
            lists.selectCategory(section->categories[at].id);
            show();
        }));
    }
    lists.selectCategory(PseudoCategory::all);
    double filterWorst = 0;
    const QString typed = QStringLiteral("chann");
    for (qsizetype length = 1; length <= typed.size(); ++length) {
        filterWorst = std::max(filterWorst, timedMs([&] {
            lists.setFilter(typed.left(length));
            show();
        }));
    }
    std::printf("live n=%d index_ms=%.1f all_ms=%.1f category_worst_ms=%.1f filter_worst_ms=%.1f peak_rss_mb=%ld\n",
                count, indexMs, allMs, categoryWorst, filterWorst, peakRssMb());
    return model.count() == count ? 0 : 1;
}

constexpr BenchCommand kCommands[] = {
    { "live", "N", runLive },
};

} // namespace

std::span<const BenchCommand> liveBenchCommands() { return kCommands; }
