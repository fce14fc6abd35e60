#pragma once

#include "CategoryEntry.h"

#include <QAbstractListModel>
#include <QtQml/qqmlregistration.h>

// The rows of a category-like column (the live and browse screens' categories, the catch-up
// screen's days) with the selected and the focused row. A row with a name key shows that
// message's text in the active language.
class CategoryColumnModel : public QAbstractListModel {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the screens")
    Q_PROPERTY(int count READ count NOTIFY countChanged)

public:
    enum Role { NameRole = Qt::UserRole + 1, CountRole, IconRole, SelectedRole, FocusedRole };

    using QAbstractListModel::QAbstractListModel;

    // Same ids in the same order only refresh the rows that changed; anything else resets.
    void setRows(const QList<CategoryEntry> &rows);
    void setSelectedRow(int row);
    void setFocusedRow(int row);
    const QList<CategoryEntry> &rows() const { return m_rows; }
    int rowOfId(const QString &id) const;
    int count() const { return int(m_rows.size()); }

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

signals:
    void countChanged();

private:
    void moveMark(int &mark, int row, int role);

    QList<CategoryEntry> m_rows;
    int m_selected = -1;
    int m_focused = -1;
};
