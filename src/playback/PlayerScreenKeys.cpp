#include "PlayerScreenModel.h"

#include "PlayerEngine.h"

// Every key shows the overlay first; an open channel list takes its own keys.
bool PlayerScreenModel::handleKey(const Key &key)
{
    m_chrome.show();
    if (m_showList && handleListKey(key))
        return true;
    return handleScreenKey(key);
}

bool PlayerScreenModel::handleListKey(const Key &key)
{
    switch (key.kind) {
    case Key::Kind::up:
        moveListFocus(-1);
        return true;
    case Key::Kind::down:
        moveListFocus(1);
        return true;
    case Key::Kind::pageUp:
        moveListFocus(-kListPage);
        return true;
    case Key::Kind::pageDown:
        moveListFocus(kListPage);
        return true;
    case Key::Kind::enter:
        zap(m_listFocus);
        return true;
    case Key::Kind::esc:
        closeList();
        return true;
    case Key::Kind::character:
        if (key.text != QStringLiteral("l"))
            return false;
        closeList();
        return true;
    default:
        return false;
    }
}

void PlayerScreenModel::moveListFocus(int step)
{
    const int n = count();
    setListFocus(n > 0 ? std::clamp(m_listFocus + step, 0, n - 1) : 0);
    emit listScrollRequested(m_listFocus);
}

bool PlayerScreenModel::handleScreenKey(const Key &key)
{
    const bool several = count() >= 2;
    const bool liveZaps = live() && several;
    const bool otherZaps = !live() && several;
    switch (key.kind) {
    case Key::Kind::up:
        if (liveZaps)
            previous();
        else if (seekable())
            seekBy(kLargeStep);
        return true;
    case Key::Kind::down:
        if (liveZaps)
            next();
        else if (seekable())
            seekBy(-kLargeStep);
        return true;
    case Key::Kind::left:
        if (seekable())
            seekBy(-kSmallStep);
        else if (otherZaps)
            previous();
        return true;
    case Key::Kind::right:
        if (seekable())
            seekBy(kSmallStep);
        else if (otherZaps)
            next();
        return true;
    case Key::Kind::pageUp:
        if (several)
            previous();
        return true;
    case Key::Kind::pageDown:
        if (several)
            next();
        return true;
    case Key::Kind::enter:
        if (liveZaps)
            toggleList();
        else
            m_engine->togglePause();
        return true;
    case Key::Kind::space:
        m_engine->togglePause();
        return true;
    case Key::Kind::esc:
        back();
        return true;
    case Key::Kind::character:
        return handleLetter(key.text, several);
    default:
        return false;
    }
}

bool PlayerScreenModel::handleLetter(const QString &letter, bool several)
{
    if (letter == QStringLiteral("l")) {
        if (several)
            toggleList();
    } else if (letter == QStringLiteral("a")) {
        m_picture.cycle();
    } else if (letter == QStringLiteral("h")) {
        if (favoriteButton())
            toggleFavorite();
    } else {
        return false;
    }
    return true;
}
