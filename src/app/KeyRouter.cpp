#include "KeyRouter.h"

#include "AppState.h"
#include "Localization.h"
#include "QmlSingleton.h"

#include <QGuiApplication>
#include <QInputMethodQueryEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QQuickItem>
#include <QQuickWindow>

#include <algorithm>

namespace {

bool editingAllows(Key::Kind kind)
{
    switch (kind) {
    case Key::Kind::up:
    case Key::Kind::down:
    case Key::Kind::enter:
    case Key::Kind::esc:
    case Key::Kind::tab:
    case Key::Kind::pageUp:
    case Key::Kind::pageDown:
        return true;
    default:
        return false;
    }
}

KeyRouterHooks completed(KeyRouterHooks hooks)
{
    if (!hooks.toggleFullScreen)
        hooks.toggleFullScreen = [] { AppState::toggleFullScreen(); };
    if (!hooks.language)
        hooks.language = [] { return activeLanguage(); };
    if (!hooks.editing)
        hooks.editing = [] { return KeyRouter::textFieldEditing(); };
    return hooks;
}

} // namespace

KeyRouter::KeyRouter(AppState *app, KeyRouterHooks hooks, QObject *parent)
    : QObject(parent)
    , m_app(app)
    , m_hooks(completed(std::move(hooks)))
{
}

KeyRouter *KeyRouter::create(QQmlEngine *, QJSEngine *)
{
    return registeredForQml<KeyRouter>();
}

void KeyRouter::install()
{
    if (m_installed || !QCoreApplication::instance())
        return;
    QCoreApplication::instance()->installEventFilter(this);
    m_installed = true;
}

void KeyRouter::registerHandler(const QUuid &id, KeyHandlerFn handler, bool menu)
{
    m_handlers.removeIf([&id](const Entry &entry) { return entry.id == id; });
    m_handlers.append({ id, std::move(handler), menu });
    updateMenuOpen();
}

void KeyRouter::unregisterHandler(const QUuid &id)
{
    m_handlers.removeIf([&id](const Entry &entry) { return entry.id == id; });
    updateMenuOpen();
}

void KeyRouter::updateMenuOpen()
{
    const bool open
        = std::any_of(m_handlers.cbegin(), m_handlers.cend(), [](const Entry &entry) { return entry.menu; });
    if (open == m_menuOpen)
        return;
    m_menuOpen = open;
    emit menuOpenChanged();
}

bool KeyRouter::textFieldEditing()
{
    QObject *focus = QGuiApplication::focusObject();
    if (!focus)
        return false;
    QInputMethodQueryEvent query(Qt::ImEnabled | Qt::ImReadOnly);
    QCoreApplication::sendEvent(focus, &query);
    return query.value(Qt::ImEnabled).toBool() && !query.value(Qt::ImReadOnly).toBool();
}

// A press outside the text field being edited ends editing, as on any desktop.
void KeyRouter::endEditingOutside(QQuickWindow *window, const QMouseEvent &press)
{
    auto *field = qobject_cast<QQuickItem *>(window->focusObject());
    if (!field || !m_hooks.editing())
        return;
    if (!field->contains(field->mapFromScene(press.scenePosition())))
        field->setFocus(false);
}

bool KeyRouter::eventFilter(QObject *watched, QEvent *event)
{
    // One press passes the filter once per delivery hop; the window's hop is the first.
    // Only presses are looked at: other events reach a window while it is being destroyed.
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::MouseButtonPress)
        return false;
    auto *window = qobject_cast<QQuickWindow *>(watched);
    if (!window)
        return false;
    if (event->type() == QEvent::MouseButtonPress) {
        endEditingOutside(window, *static_cast<QMouseEvent *>(event));
        return false;
    }
    const auto *keyEvent = static_cast<QKeyEvent *>(event);
    if (keyEvent->modifiers() & Qt::ControlModifier)
        return false;
    const std::optional<Key> key = Key::fromEvent(*keyEvent);
    return key && dispatch(*key);
}

bool KeyRouter::dispatch(Key key)
{
    if (m_hooks.language() == QLatin1StringView("ar")) {
        if (key.kind == Key::Kind::left)
            key.kind = Key::Kind::right;
        else if (key.kind == Key::Kind::right)
            key.kind = Key::Kind::left;
    }
    const bool editing = m_hooks.editing();
    if (editing && !editingAllows(key.kind))
        return false;
    if (!m_handlers.isEmpty()) {
        // A copy: the handler may change the list while it runs.
        const KeyHandlerFn top = m_handlers.last().handler;
        if (top(key))
            return true;
    }
    return applyDefaults(key, editing);
}

bool KeyRouter::applyDefaults(const Key &key, bool editing)
{
    if (key.kind == Key::Kind::character) {
        if (key.text != QLatin1StringView("f") || editing)
            return false;
        m_hooks.toggleFullScreen();
        return true;
    }
    return key.kind == Key::Kind::esc && escapeDefault();
}

bool KeyRouter::escapeDefault()
{
    if (!m_app)
        return false;
    if (m_app->dialog()) {
        m_app->setDialog(nullptr);
        return true;
    }
    if (!m_app->canGoBack())
        return false;
    m_app->pop();
    return true;
}
