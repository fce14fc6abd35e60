#pragma once

#include "Key.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUuid>
#include <QtQml/qqmlregistration.h>

#include <functional>

class AppState;
class QQmlEngine;
class QJSEngine;
class QMouseEvent;
class QQuickWindow;

// Answers true when it used the key.
using KeyHandlerFn = std::function<bool(const Key &)>;

// What the router's defaults act through; empty members take the real ones.
struct KeyRouterHooks {
    std::function<void()> toggleFullScreen;
    std::function<QString()> language;
    // Whether a text field is being edited.
    std::function<bool()> editing;
};

// Offers every key press of the application to one handler, the last registered, and
// applies the application-wide defaults (F: full screen; Esc: close the dialog or go back) to
// keys it leaves.
// Ctrl combinations pass untouched to the window's shortcuts. Handlers usually come from
// KeyHandler view-models. A mouse press outside the text field being edited ends editing.
class KeyRouter : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    // A menu's handler is registered: tooltips stay hidden while it is open.
    Q_PROPERTY(bool menuOpen READ menuOpen NOTIFY menuOpenChanged)

public:
    explicit KeyRouter(AppState *app, KeyRouterHooks hooks = {}, QObject *parent = nullptr);

    static KeyRouter *create(QQmlEngine *, QJSEngine *);

    // Filters the application's key presses from now on; later calls do nothing.
    void install();

    // Puts the handler on top, replacing any entry with the same id; `menu`: it is an open
    // menu's.
    void registerHandler(const QUuid &id, KeyHandlerFn handler, bool menu = false);
    void unregisterHandler(const QUuid &id);
    bool menuOpen() const { return m_menuOpen; }

    // True when the key was used (its event is then consumed).
    bool dispatch(Key key);

    // The focus object is an editable text input: it answers ImEnabled and not ImReadOnly.
    static bool textFieldEditing();

signals:
    void menuOpenChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Entry {
        QUuid id;
        KeyHandlerFn handler;
        bool menu = false;
    };

    void updateMenuOpen();

    void endEditingOutside(QQuickWindow *window, const QMouseEvent &press);
    bool applyDefaults(const Key &key, bool editing);
    bool escapeDefault();

    QPointer<AppState> m_app;
    KeyRouterHooks m_hooks;
    QList<Entry> m_handlers;
    bool m_installed = false;
    bool m_menuOpen = false;
};
