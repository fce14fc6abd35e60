#include "Key.h"

#include <QKeyEvent>
#include <QTextBoundaryFinder>

namespace {

std::optional<Key::Kind> namedKind(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Up:
        return Key::Kind::up;
    case Qt::Key_Down:
        return Key::Kind::down;
    case Qt::Key_Left:
        return Key::Kind::left;
    case Qt::Key_Right:
        return Key::Kind::right;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return Key::Kind::enter;
    case Qt::Key_Escape:
        return Key::Kind::esc;
    case Qt::Key_Space:
        return Key::Kind::space;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return Key::Kind::tab;
    case Qt::Key_PageUp:
        return Key::Kind::pageUp;
    case Qt::Key_PageDown:
        return Key::Kind::pageDown;
    case Qt::Key_Home:
        return Key::Kind::home;
    case Qt::Key_End:
        return Key::Kind::end;
    default:
        return std::nullopt;
    }
}

QString firstCharacter(const QString &text)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    const qsizetype end = finder.toNextBoundary();
    return end > 0 ? text.left(end) : text;
}

} // namespace

std::optional<Key> Key::fromEvent(const QKeyEvent &event)
{
    if (const auto kind = namedKind(event.key()))
        return Key { *kind, {}, event.isAutoRepeat() };
    const QString text = event.text().toLower();
    if (text.isEmpty())
        return std::nullopt;
    return Key { Kind::character, firstCharacter(text), event.isAutoRepeat() };
}
