#pragma once

#include <QAbstractListModel>
#include <QList>
#include <QString>
#include <QtQml/qqmlregistration.h>

// What one episode row shows.
struct EpisodeRowData {
    QString id;
    QString label; // "E" and the episode number
    QString duration; // empty without a duration
    QString title;
    QString plot;
    QString image;
    double progress = -1; // 0...1 of the resume point; -1 without one
    bool operator==(const EpisodeRowData &) const = default;
};

// The episode rows of the chosen season. New rows redraw the ones in place and add or drop
// only the tail, so a season change or a new resume point keeps the list's scroll position.
class EpisodeListModel : public QAbstractListModel {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the series screen")
    Q_PROPERTY(int count READ count NOTIFY countChanged)

public:
    enum Role {
        IdRole = Qt::UserRole + 1,
        LabelRole,
        DurationRole,
        TitleRole,
        PlotRole,
        ImageRole,
        ProgressRole
    };

    using QAbstractListModel::QAbstractListModel;

    void setRows(const QList<EpisodeRowData> &rows);
    const QList<EpisodeRowData> &rows() const { return m_rows; }
    int count() const { return int(m_rows.size()); }

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

signals:
    void countChanged();

private:
    QList<EpisodeRowData> m_rows;
};
