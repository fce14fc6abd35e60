#pragma once

#include "model/Records.h"

#include <QAbstractListModel>
#include <QtQml/qqmlregistration.h>

#include <optional>

// The entries of a play queue as list rows. Items are fetched through the queue's getter
// only when a row is read, so a view shows the rows it draws and builds no others.
// Roles: title, logo (text), number (the item's number, else its position + 1),
// playing (the row being played), focused.
class PlayQueueModel : public QAbstractListModel {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the player screen")
    Q_PROPERTY(int count READ count CONSTANT)

public:
    enum Role { TitleRole = Qt::UserRole + 1, LogoRole, NumberRole, PlayingRole, FocusedRole };

    PlayQueueModel(PlayQueue queue, QObject *parent = nullptr);

    int count() const;
    // The item at `row`; nothing outside the queue or when the getter has none.
    std::optional<PlayItem> itemAt(int row) const;

    void setPlayingRow(int row);
    void setFocusedRow(int row);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

private:
    void markRow(int *mark, int row, int role);

    PlayQueue m_queue;
    int m_playingRow = -1;
    int m_focusedRow = -1;
    // A view reads every role of a row in turn: the last row read is kept.
    mutable std::optional<std::pair<int, std::optional<PlayItem>>> m_lastRead;
};
