#pragma once

#include "model/PlayQueue.h"

#include <QAbstractListModel>
#include <QtQml/qqmlregistration.h>

#include <optional>

// The entries of a play queue as list rows. A row shows the fields of its list entry, or of
// its ready item, and is read only when a view draws it; no playable item is built for it.
// Roles: title, logo (text), number (the item's number, else its position + 1),
// playing (the row being played), equalizer (the row being played, while its playback has
// not failed), focused.
class PlayQueueModel : public QAbstractListModel {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the player screen")
    Q_PROPERTY(int count READ count CONSTANT)

public:
    enum Role { TitleRole = Qt::UserRole + 1, LogoRole, NumberRole, PlayingRole, EqualizerRole, FocusedRole };

    PlayQueueModel(PlayQueue queue, QObject *parent = nullptr);

    int count() const;
    // The item at `row`; nothing outside the queue.
    std::optional<PlayItem> itemAt(int row) const { return m_queue.get(row); }

    // `failed`: the playback of that row failed.
    void setPlayingRow(int row, bool failed);
    void setFocusedRow(int row);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

private:
    void rowsChanged(std::initializer_list<int> rows, const QList<int> &roles);
    // The value of a shown role of a row with these fields.
    static QVariant face(int role, int row, const QString &title, const OptText &logo, qint64 number);

    PlayQueue m_queue;
    int m_playingRow = -1;
    bool m_playingFailed = false;
    int m_focusedRow = -1;
};
