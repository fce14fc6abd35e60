#pragma once

#include "Routes.h"

#include <QAbstractListModel>
#include <QList>
#include <QtQml/qqmlregistration.h>

// The route stack as a list model: the root view keeps one screen per row, keyed by
// `entryId`, so covered screens stay alive while rows are pushed and popped above them.
// Roles: entryId (text), isTop (last row).
class RouteStack : public QAbstractListModel {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by AppState")
    Q_PROPERTY(int count READ count NOTIFY countChanged)

public:
    enum Role { EntryIdRole = Qt::UserRole + 1, IsTopRole };

    explicit RouteStack(QObject *parent = nullptr);

    const QList<RouteEntry> &entries() const { return m_entries; }
    int count() const { return int(m_entries.size()); }

    void append(RouteEntry entry);
    void removeLast();
    // Leaves `entry` as the only row.
    void resetTo(RouteEntry entry);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

signals:
    void countChanged();

private:
    void topChanged();

    QList<RouteEntry> m_entries;
};
