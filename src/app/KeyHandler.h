#pragma once

#include "Key.h"

#include <QObject>
#include <QPointer>
#include <QUuid>
#include <QtQml/qqmlregistration.h>

class KeyRouter;

// Base of every view-model that takes keys: each screen's view-model and the choice dialog's.
//
// A subclass overrides handleKey (true when it used the key). While `active` the object is
// registered with the key router under its own id, as the newest (top) handler; turning
// inactive or being destroyed removes it. It starts inactive: a screen's layer activates
// its model while the screen is on top, and a dialog's view while it is open.
class KeyHandler : public QObject {
    Q_OBJECT
    QML_ANONYMOUS
    Q_PROPERTY(bool active READ isActive WRITE setActive NOTIFY activeChanged)

public:
    explicit KeyHandler(KeyRouter *router, QObject *parent = nullptr);
    ~KeyHandler() override;

    bool isActive() const { return m_active; }
    void setActive(bool active);

    // Asked only while this handler is the router's top entry.
    virtual bool handleKey(const Key &key);

protected:
    // The keys of an open menu.
    virtual bool isMenu() const { return false; }

signals:
    void activeChanged();

private:
    QPointer<KeyRouter> m_router;
    QUuid m_id = QUuid::createUuid();
    bool m_active = false;
};
