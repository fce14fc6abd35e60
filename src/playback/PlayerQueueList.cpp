#include "PlayerQueueList.h"

PlayerQueueList::PlayerQueueList(Zap zap, QObject *parent)
    : QObject(parent)
    , m_zap(std::move(zap))
    , m_channels(std::make_unique<PlayQueueModel>(PlayQueue {}))
{
}

void PlayerQueueList::setQueue(const PlayQueue &queue)
{
    m_channels = std::make_unique<PlayQueueModel>(queue);
    emit channelsChanged();
}

void PlayerQueueList::setFocusRow(int row)
{
    m_channels->setFocusedRow(row);
    if (m_focusRow == row)
        return;
    m_focusRow = row;
    emit focusRowChanged();
}

void PlayerQueueList::toggle(int row)
{
    setShown(!m_shown);
    setFocusRow(row);
    emit scrollRequested(row);
}

void PlayerQueueList::close()
{
    setShown(false);
}

void PlayerQueueList::select(int row)
{
    setFocusRow(row);
    m_zap(row);
}

void PlayerQueueList::setShown(bool shown)
{
    if (m_shown == shown)
        return;
    m_shown = shown;
    emit shownChanged();
}

void PlayerQueueList::moveFocus(int step)
{
    const int n = count();
    setFocusRow(n > 0 ? std::clamp(m_focusRow + step, 0, n - 1) : 0);
    emit scrollRequested(m_focusRow);
}

bool PlayerQueueList::handleKey(const Key &key)
{
    switch (key.kind) {
    case Key::Kind::up:
        moveFocus(-1);
        return true;
    case Key::Kind::down:
        moveFocus(1);
        return true;
    case Key::Kind::pageUp:
        moveFocus(-kPage);
        return true;
    case Key::Kind::pageDown:
        moveFocus(kPage);
        return true;
    case Key::Kind::enter:
        m_zap(m_focusRow);
        return true;
    case Key::Kind::esc:
        close();
        return true;
    case Key::Kind::character:
        if (key.text != QStringLiteral("l"))
            return false;
        close();
        return true;
    default:
        return false;
    }
}
