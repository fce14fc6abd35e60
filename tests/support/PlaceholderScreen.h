#pragma once

#include "app/RouteScreen.h"

#include <QString>
#include <QUrl>

// A test's stand-in screen for any route: it shows the title of its route entry and takes
// no key itself, so Esc goes back through the router's defaults.
class PlaceholderScreen : public RouteScreen {
    Q_OBJECT
    Q_PROPERTY(QString routeName READ routeName CONSTANT)
    Q_PROPERTY(QString title READ title CONSTANT)

public:
    PlaceholderScreen(ScreenDeps deps, RouteEntry entry, QObject *parent = nullptr);

    QString routeName() const { return ::routeName(entry().route); }
    QString title() const { return titleOf(entry().route); }

    // Its view, read from the source tree.
    static QUrl view();
    // What the screen of a route is called: the localised name of its area, or the name of
    // the item it shows.
    static QString titleOf(const Route &route);
};
