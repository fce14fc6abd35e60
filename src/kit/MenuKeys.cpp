#include "MenuKeys.h"

#include "app/KeyRouter.h"
#include "sources/Registered.h"

MenuKeys::MenuKeys(QObject *parent)
    : MenuKeys(Registered<KeyRouter>::get(), parent)
{
}

MenuKeys::MenuKeys(KeyRouter *router, QObject *parent)
    : KeyHandler(router, parent)
{
    // A menu opens with nothing highlighted.
    connect(this, &KeyHandler::activeChanged, this, [this] { setCurrent(-1); });
}

void MenuKeys::setEntries(const QList<bool> &entries)
{
    if (m_entries == entries)
        return;
    m_entries = entries;
    emit entriesChanged();
    if (!choosable(m_current))
        setCurrent(-1);
}

void MenuKeys::setCurrent(int current)
{
    const int next = choosable(current) ? current : -1;
    if (next == m_current)
        return;
    m_current = next;
    emit currentChanged();
}

bool MenuKeys::choosable(int entry) const
{
    return entry >= 0 && entry < m_entries.size() && m_entries[entry];
}

// To the next choosable entry that way; stays put at either end.
void MenuKeys::move(int step)
{
    const int start = m_current < 0 && step < 0 ? int(m_entries.size()) : m_current;
    for (int entry = start + step; entry >= 0 && entry < m_entries.size(); entry += step) {
        if (choosable(entry)) {
            setCurrent(entry);
            return;
        }
    }
}

bool MenuKeys::handleKey(const Key &key)
{
    switch (key.kind) {
    case Key::Kind::up:
        move(-1);
        break;
    case Key::Kind::down:
        move(1);
        break;
    case Key::Kind::enter:
    case Key::Kind::space:
        if (m_current >= 0)
            emit chosen(m_current);
        break;
    case Key::Kind::esc:
        emit closeRequested();
        break;
    default:
        break;
    }
    return true;
}
