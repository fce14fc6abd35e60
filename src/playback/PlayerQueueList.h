#pragma once

#include "PlayQueueModel.h"
#include "app/Key.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>

#include <functional>
#include <memory>

// The player's side list of the queue's entries: open or closed, the row its keys move to,
// and the rows themselves. Choosing a row zaps to it through the screen.
class PlayerQueueList : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the player screen")
    Q_PROPERTY(PlayQueueModel *channels READ channels NOTIFY channelsChanged)
    Q_PROPERTY(int count READ count NOTIFY channelsChanged)
    Q_PROPERTY(bool shown READ shown NOTIFY shownChanged)
    Q_PROPERTY(int focusRow READ focusRow NOTIFY focusRowChanged)

public:
    static constexpr int kPage = 10;
    using Zap = std::function<void(int position)>;

    explicit PlayerQueueList(Zap zap, QObject *parent = nullptr);

    // The rows of another queue; the list keeps its state.
    void setQueue(const PlayQueue &queue);
    PlayQueueModel *channels() const { return m_channels.get(); }
    int count() const { return m_channels->count(); }
    bool shown() const { return m_shown; }
    int focusRow() const { return m_focusRow; }
    void setFocusRow(int row);

    // Opens or closes the list with `row` (the played one) focused and brought to its middle.
    void toggle(int row);
    Q_INVOKABLE void close();
    // A click on a row: focuses it and zaps to it; the list stays.
    Q_INVOKABLE void select(int row);
    // The keys of the open list; false for a key it leaves to the screen.
    bool handleKey(const Key &key);

signals:
    void channelsChanged();
    void shownChanged();
    void focusRowChanged();
    // A one-shot request to bring that row to the middle of the list.
    void scrollRequested(int row);

private:
    void setShown(bool shown);
    void moveFocus(int step);

    Zap m_zap;
    std::unique_ptr<PlayQueueModel> m_channels;
    bool m_shown = false;
    int m_focusRow = 0;
};
