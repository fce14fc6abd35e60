#pragma once

#include "RowEdits.h"
#include "model/Records.h"

#include <QAbstractListModel>
#include <QSet>
#include <QString>
#include <QtQml/qqmlregistration.h>

#include <memory>
#include <vector>

// The one list model of content rows (channels, movies, series) for every list and grid.
// It shares a list of items and shows the rows an index vector names, in its order:
// filtering or re-ordering replaces that vector, no item is copied. Per-row flags
// (favourite, playing, focused) are set by the owning screen.
class ContentListModel : public QAbstractListModel {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the screens")
    Q_PROPERTY(int count READ count NOTIFY countChanged)
    Q_PROPERTY(int focusedRow READ focusedRow NOTIFY focusedRowChanged)

public:
    using Items = SharedMediaItems;

    enum Role {
        NameRole = Qt::UserRole + 1,
        LogoRole,
        NumRole,
        CatchupDaysRole,
        RatingRole,
        RatingBadgeRole,
        ItemKeyRole,
        FavoriteRole,
        PlayingRole,
        // The playing row shows the moving bars: its playback has not failed.
        EqualizerRole,
        FocusedRole,
    };

    explicit ContentListModel(QObject *parent = nullptr);

    // Items shared with a loaded section (no copy).
    static Items itemsOf(const SectionPtr &section);
    static Items itemsOf(MediaItems items);

    // New items, all shown in their own order. `playlistId` makes the item keys.
    void setItems(Items items, qint64 playlistId);
    // Shows the items at these positions of the shared list, in this order; views start
    // over (a model reset).
    void setRows(std::vector<qint32> rows);
    // The same, keeping the views' rows: rows in front that stay are untouched, the following
    // ones change their data in place, and the list grows or shrinks at its end. A view keeps
    // its delegates and its position.
    void refillRows(std::vector<qint32> rows);
    // The same for a short list, announced as the rows removed, moved and inserted, so a
    // view keeps the delegates of the rows that stay; a position named twice shows once.
    void updateRows(std::vector<qint32> rows);

    const Items &items() const { return m_items; }
    const std::vector<qint32> &rows() const { return m_rows; }
    qint64 playlistId() const { return m_playlistId; }
    int count() const { return int(m_rows.size()); }
    // The item shown at `row`; nothing outside the rows.
    std::optional<MediaItem> itemAt(int row) const;
    QString keyAt(int row) const;
    // The first row showing the item of that key; -1 when none does.
    int rowOfKey(const QString &key) const;

    // Item keys marked favourite, the playing item's key (`failed`: its playback failed), the
    // focused row (-1: none).
    void setFavoriteKeys(QSet<QString> keys);
    void setPlayingKey(const QString &key, bool failed = false);
    void setFocusedRow(int row);
    int focusedRow() const { return m_focusedRow; }
    // Numbered rows show their position from 1 as `num` in place of the item's own number.
    void setNumbered(bool numbered);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

signals:
    void countChanged();
    void focusedRowChanged();

private:
    void dropUnknownRows(std::vector<qint32> &rows) const;
    void countMayHaveChanged(int before);
    void rowChanged(int row, int role);
    void allRowsChanged(int role);
    void applyEdit(const RowEdit &edit, const std::vector<qint32> &rows);

    Items m_items;
    std::vector<qint32> m_rows;
    qint64 m_playlistId = 0;
    QSet<QString> m_favoriteKeys;
    QString m_playingKey;
    bool m_playingFailed = false;
    int m_focusedRow = -1;
    bool m_numbered = false;
};
