#include "SectionBuilder.h"

#include "model/ContentKeys.h"

#include <QSet>
#include <QtConcurrent/QtConcurrentMap>

#include <numeric>
#include <unordered_map>
#include <vector>

namespace {

// Items grouped by one worker at a time.
constexpr qsizetype kStretch = 8192;

// The items' category ids in first-seen order, and for each group the positions of its
// items in list order.
struct Groups {
    QStringList ids;
    std::vector<qsizetype> starts; // group g holds positions[starts[g]] up to positions[starts[g + 1]]
    std::vector<qint32> positions;
};

// Category ids of a stretch of items in first-seen order, and each item's index in them.
struct LocalGroups {
    QStringList ids;
    std::vector<qint32> groupOfItem;
};

// Group indexes of category ids, looked up first by where an id's text is stored: the
// items read together share one text per category.
class GroupIndex {
public:
    explicit GroupIndex(QStringList &ids)
        : m_ids(ids)
    {
    }

    qsizetype of(const QString &id)
    {
        // Items of a group mostly follow each other.
        if (id.constData() == m_last.data && id.size() == m_last.size)
            return m_last.group;
        const auto stored = m_byStorage.find(id.constData());
        if (stored != m_byStorage.end() && stored->second.first == id.size()) {
            m_last = { id.constData(), id.size(), stored->second.second };
            return m_last.group;
        }
        auto known = m_byText.constFind(id);
        if (known == m_byText.cend()) {
            known = m_byText.insert(id, m_ids.size());
            m_ids.append(id);
        }
        m_byStorage[id.constData()] = { id.size(), *known };
        m_last = { id.constData(), id.size(), *known };
        return *known;
    }

private:
    struct Stored {
        const QChar *data = nullptr;
        qsizetype size = -1;
        qsizetype group = 0;
    };

    QStringList &m_ids;
    QHash<QString, qsizetype> m_byText;
    std::unordered_map<const QChar *, std::pair<qsizetype, qsizetype>> m_byStorage; // (size, group)
    Stored m_last;
};

LocalGroups groupStretch(const MediaItems &items, qsizetype begin, qsizetype end)
{
    LocalGroups local;
    GroupIndex index(local.ids);
    local.groupOfItem.reserve(std::size_t(end - begin));
    for (qsizetype i = begin; i < end; ++i)
        local.groupOfItem.push_back(qint32(index.of(items.categoryId(i))));
    return local;
}

// Stretches grouped on worker threads, then joined in list order, which keeps the
// first-seen order of the whole list.
Groups groupItems(const MediaItems &items)
{
    std::vector<qsizetype> begins;
    for (qsizetype begin = 0; begin < items.size(); begin += kStretch)
        begins.push_back(begin);
    const QList<LocalGroups> stretches = QtConcurrent::blockingMapped<QList<LocalGroups>>(begins,
        [&](qsizetype begin) {
        return groupStretch(items, begin, std::min(begin + kStretch, items.size()));
    });
    Groups groups;
    GroupIndex index(groups.ids);
    std::vector<qint32> groupOfItem;
    groupOfItem.reserve(std::size_t(items.size()));
    std::vector<qsizetype> sizes;
    for (const LocalGroups &stretch : stretches) {
        std::vector<qsizetype> global(std::size_t(stretch.ids.size()));
        for (qsizetype g = 0; g < stretch.ids.size(); ++g)
            global[std::size_t(g)] = index.of(stretch.ids[g]);
        sizes.resize(std::size_t(groups.ids.size()));
        for (const qint32 local : stretch.groupOfItem) {
            groupOfItem.push_back(qint32(global[std::size_t(local)]));
            ++sizes[std::size_t(groupOfItem.back())];
        }
    }
    groups.starts.resize(sizes.size() + 1);
    std::exclusive_scan(sizes.begin(), sizes.end(), groups.starts.begin(), qsizetype(0));
    groups.starts.back() = items.size();
    groups.positions.resize(std::size_t(items.size()));
    std::vector<qsizetype> next(groups.starts.begin(), groups.starts.end() - 1);
    for (qsizetype i = 0; i < items.size(); ++i)
        groups.positions[std::size_t(next[std::size_t(groupOfItem[std::size_t(i)])]++)] = qint32(i);
    return groups;
}

} // namespace

SectionPtr buildSection(ContentType type, const QList<CategoryName> &categories, MediaItems items,
    const QString &uncategorizedName)
{
    auto section = std::make_shared<Section>();
    section->type = type;
    const Groups groups = groupItems(items);
    section->byCategory.reserve(groups.ids.size());
    for (qsizetype g = 0; g < groups.ids.size(); ++g) {
        const auto first = groups.positions.begin() + groups.starts[std::size_t(g)];
        const auto last = groups.positions.begin() + groups.starts[std::size_t(g) + 1];
        section->byCategory.insert(groups.ids[g], std::vector<qint32>(first, last));
    }
    QSet<QString> taken;
    const auto take = [&](const QString &id, const QString &name) {
        const auto group = section->byCategory.constFind(id);
        if (group == section->byCategory.cend() || taken.contains(id))
            return;
        taken.insert(id);
        section->categories.append(Category { id, name, qint64(group->size()) });
    };
    for (const auto &[id, name] : categories)
        take(id, name);
    for (const QString &id : groups.ids)
        take(id, id == PseudoCategory::uncategorized ? uncategorizedName : id);
    section->all = std::move(items);
    return section;
}
