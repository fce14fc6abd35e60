#include "KeyHandler.h"

#include "KeyRouter.h"

KeyHandler::KeyHandler(KeyRouter *router, QObject *parent)
    : QObject(parent)
    , m_router(router)
{
}

KeyHandler::~KeyHandler()
{
    if (m_router)
        m_router->unregisterHandler(m_id);
}

void KeyHandler::setActive(bool active)
{
    if (m_active == active)
        return;
    m_active = active;
    if (m_router) {
        if (active) {
            const QPointer<KeyHandler> self(this);
            m_router->registerHandler(
                m_id, [self](const Key &key) { return self && self->handleKey(key); }, isMenu());
        } else {
            m_router->unregisterHandler(m_id);
        }
    }
    emit activeChanged();
}

bool KeyHandler::handleKey(const Key &)
{
    return false;
}
