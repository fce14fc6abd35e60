#include "BenchCommands.h"

#include "kit/ContentListModel.h"
#include "live/LiveLists.h"
#include "model/ContentKeys.h"
#include "sources/AppClock.h"
#include "sources/Catalog.h"
#include "sources/Http.h"
#include "sources/SectionBuilder.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QUrl>

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
    const auto show = [&] { model.refillRows(lists.rows()); };

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
    std::printf(
        "live n=%d index_ms=%.1f all_ms=%.1f category_worst_ms=%.1f filter_worst_ms=%.1f peak_rss_mb=%ld\n",
        count, indexMs, allMs, categoryWorst, filterWorst, peakRssMb());
    return model.count() == count ? 0 : 1;
}

// Types `typed` into the filter one key at a time; the slowest key in ms.
double worstFilterKeyMs(LiveLists &lists, ContentListModel &model, const QString &typed)
{
    double worst = 0;
    for (qsizetype length = 1; length <= typed.size(); ++length) {
        worst = std::max(worst, timedMs([&] {
            lists.setFilter(typed.left(length));
            model.refillRows(lists.rows());
        }));
    }
    return worst;
}

// Null when the playlist cannot be loaded.
QCoro::Task<ChannelIndexPtr> loadedIndex(Catalog &catalog, Playlist playlist)
{
    SectionPtr live;
    try {
        // Home loads every kind first; live TV then prepares its lookups.
        for (ContentType type : { ContentType::movie, ContentType::series })
            co_await catalog.load(playlist, type, false);
        live = co_await catalog.load(playlist, ContentType::live, false);
    } catch (...) {
        co_return ChannelIndexPtr();
    }
    co_return co_await ChannelIndex::of(live);
}

// An M3U playlist served on 127.0.0.1 (the demo portal's --m3u, say) loaded through the
// catalog and its disk cache into a fresh folder, then the live lists over it: the load,
// the lookups, a filter typed key by key, and the peak memory of it all.
int runLiveM3u(const QStringList &args)
{
    const QUrl address(args.value(0));
    if (address.host() != u"127.0.0.1")
        return 2;
    QTemporaryDir dir;
    Http http(HttpOptions { .cacheDir = dir.filePath(QStringLiteral("http")) });
    Catalog catalog(&http, AppClock::system(), [] { return QStringLiteral("Uncategorized"); });
    const Playlist playlist { .id = kPlaylistId, .name = QStringLiteral("Bench"), .url = address.toString() };
    ChannelIndexPtr index;
    const double loadMs = timedMs([&] { index = QCoro::waitFor(loadedIndex(catalog, playlist)); });
    if (!index)
        return 1;
    LiveLists lists(kPlaylistId);
    ContentListModel model;
    model.setItems(ContentListModel::itemsOf(index->section), kPlaylistId);
    const double showMs = timedMs([&] {
        lists.setSection(index);
        model.refillRows(lists.rows());
    });
    const double filterWorst = std::max(worstFilterKeyMs(lists, model, QStringLiteral("news")),
        worstFilterKeyMs(lists, model, QStringLiteral("qzx")));
    std::printf("live-m3u channels=%lld load_ms=%.0f show_ms=%.1f filter_worst_ms=%.1f peak_rss_mb=%ld\n",
        qlonglong(index->all().size()), loadMs, showMs, filterWorst, peakRssMb());
    return 0;
}

constexpr BenchCommand kCommands[] = {
    { "live", "N", runLive },
    { "live-m3u", "URL (on 127.0.0.1)", runLiveM3u },
};

} // namespace

std::span<const BenchCommand> liveBenchCommands()
{
    return kCommands;
}
