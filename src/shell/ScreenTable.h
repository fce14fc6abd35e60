#pragma once

#include "app/RouteScreen.h"
#include "app/Routes.h"
#include "app/ScreenDeps.h"
#include "app/ScreensAhead.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QQuickItem>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

#include <functional>

class QJSEngine;
class QQmlComponent;
class QQmlEngine;

// A route entry's screen as the table makes it: the view-model, already holding its
// entry, and the view that shows it; `item` is that view already made when the screen was
// made ahead, else the layer makes it.
struct MadeScreen {
    Q_GADGET
    Q_PROPERTY(RouteScreen *model MEMBER model)
    Q_PROPERTY(QUrl view MEMBER view)
    Q_PROPERTY(QQuickItem *item MEMBER item)

public:
    RouteScreen *model = nullptr;
    QUrl view;
    QQuickItem *item = nullptr;
};

// The one table from route to screen: which view shows a route and which view-model
// type it is made of. Each stack entry's layer asks it once, when the entry arrives. It also
// makes one screen ahead, drawn once out of sight, for the next push of its route to take.
class ScreenTable : public QObject, public ScreensAhead {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    // How one route's screen is made.
    struct Row {
        QUrl view;
        std::function<RouteScreen *(const ScreenDeps &, const RouteEntry &)> make;
    };
    using Rows = std::function<Row(const Route &)>;

    explicit ScreenTable(ScreenDeps deps, Rows rows = &rowOf, QObject *parent = nullptr);

    static ScreenTable *create(QQmlEngine *, QJSEngine *);

    // The program's row for each route case.
    static Row rowOf(const Route &route);
    // Makes screens from other rows from now on (a test's stand-in screens).
    void setRows(Rows rows) { m_rows = std::move(rows); }

    // The screen of the stack entry with that id; its view-model belongs to `owner`.
    // Nothing, with a warning, when no entry on the stack has that id.
    Q_INVOKABLE MadeScreen make(const QString &entryId, QObject *owner);

    // Starts compiling, on the engine's loader thread, the views of the screens home opens,
    // and keeps them, so that opening one of them makes its view without loading it first.
    void loadViewsAhead(QQmlEngine *engine);

    // Where screens made ahead are made and drawn, out of sight; the root view hands it in.
    Q_INVOKABLE void setAheadArea(QQuickItem *area);
    void prepare(const Route &route) override;
    void dropPrepared() override;
    // The view of the screen made ahead, once made.
    QQuickItem *preparedView() const { return m_prepared.view; }

private:
    struct Prepared {
        RouteEntry entry;
        QPointer<RouteScreen> model;
        QPointer<QQuickItem> view;
        bool drawn = false;
    };

    QQmlComponent *viewComponent(QQmlEngine *engine, const QUrl &view);
    void makePreparedView();
    void drawPreparedOnce();
    // The screen made ahead for `entry`'s route, moved to `owner`; nothing without one.
    MadeScreen takePrepared(const RouteEntry &entry, QObject *owner);

    ScreenDeps m_deps;
    Rows m_rows;
    QHash<QUrl, QPointer<QQmlComponent>> m_views;
    QPointer<QQuickItem> m_aheadArea;
    Prepared m_prepared;
};
