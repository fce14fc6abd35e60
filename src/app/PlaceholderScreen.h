#pragma once

#include "KeyHandler.h"
#include "Routes.h"

#include <QPointer>
#include <QString>
#include <QtQml/qqmlregistration.h>

class AppState;

// The stand-in for a screen that is not built yet: it shows the title of its route entry
// and takes no key itself, so Esc goes back through the router's defaults.
class PlaceholderScreen : public KeyHandler {
    Q_OBJECT
    QML_NAMED_ELEMENT(PlaceholderScreenModel)
    Q_PROPERTY(QString entryId READ entryId WRITE setEntryId NOTIFY entryChanged)
    Q_PROPERTY(QString routeName READ routeName NOTIFY entryChanged)
    Q_PROPERTY(QString title READ title NOTIFY entryChanged)
    Q_PROPERTY(bool canGoBack READ canGoBack NOTIFY canGoBackChanged)

public:
    explicit PlaceholderScreen(QObject *parent = nullptr);
    PlaceholderScreen(AppState *app, KeyRouter *router, QObject *parent = nullptr);

    QString entryId() const { return m_entryId; }
    // The stack entry whose screen this is (its id as text).
    void setEntryId(const QString &entryId);
    QString routeName() const;
    QString title() const;
    bool canGoBack() const;

    // Leaves the screen: the entry above the others is popped.
    Q_INVOKABLE void back();

    // What the screen of a route is called: the localised name of its area, or the name of
    // the item it shows.
    static QString titleOf(const Route &route);

signals:
    void entryChanged();
    void canGoBackChanged();

private:
    QPointer<AppState> m_app;
    QString m_entryId;
    std::optional<Route> m_route;
};
