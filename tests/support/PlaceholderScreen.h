#pragma once

#include "app/RouteScreen.h"

#include <QString>
#include <QStringList>
#include <QUrl>

// A test's stand-in screen for any route: it shows the title of its route entry and takes
// no key itself, so Esc goes back through the router's defaults. Every stand-in writes the
// hooks its layer drives to one log.
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
    // The hooks run so far, oldest first, each as "<route name> <hook>".
    static QStringList &hookLog();

protected:
    void shown() override { note(u"shown"); }
    void becameTop() override { note(u"top"); }
    void covered() override { note(u"covered"); }
    void removed() override { note(u"removed"); }

private:
    void note(QStringView hook) const;
};
