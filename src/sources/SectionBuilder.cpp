#include "SectionBuilder.h"

#include "model/ContentKeys.h"

#include <QSet>

SectionPtr buildSection(ContentType type, const QList<CategoryName> &categories, QList<MediaItem> items,
                        const QString &uncategorizedName)
{
    auto section = std::make_shared<Section>();
    section->type = type;
    QStringList firstSeen;
    for (const MediaItem &item : std::as_const(items)) {
        auto group = section->byCategory.find(item.categoryId);
        if (group == section->byCategory.end()) {
            firstSeen.append(item.categoryId);
            group = section->byCategory.insert(item.categoryId, {});
        }
        group->append(item);
    }
    QSet<QString> taken;
    const auto take = [&](const QString &id, const QString &name) {
        const auto group = section->byCategory.constFind(id);
        if (group == section->byCategory.cend() || taken.contains(id))
            return;
        taken.insert(id);
        section->categories.append(Category{ id, name, qint64(group->size()) });
    };
    for (const auto &[id, name] : categories)
        take(id, name);
    for (const QString &id : std::as_const(firstSeen))
        take(id, id == PseudoCategory::uncategorized ? uncategorizedName : id);
    section->all = std::move(items);
    return section;
}
