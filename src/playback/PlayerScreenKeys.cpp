#include "PlayerScreenModel.h"

#include "PlayerEngine.h"

// Every key shows the overlay first; an open channel list takes its own keys.
bool PlayerScreenModel::handleKey(const Key &key)
{
    m_chrome.show();
    if (m_list.shown() && m_list.handleKey(key))
        return true;
    return handleScreenKey(key);
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
