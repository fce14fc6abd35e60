#pragma once

#include <QObject>
#include <QtQml/qqmlregistration.h>

class QJSEngine;
class QQmlEngine;

// Whether the window's views are shown. The program holds them back for its first frame,
// which then shows the window's colour alone and waits for no view, shader or font; a
// window loaded without the program's start has its views at once.
class FirstFrame : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(bool viewsShown READ viewsShown NOTIFY viewsShownChanged)

public:
    static FirstFrame *create(QQmlEngine *, QJSEngine *);

    bool viewsShown() const { return m_viewsShown; }
    // Before the window is loaded.
    void holdViews();
    // Once its first frame is out.
    void showViews();

signals:
    void viewsShownChanged();

private:
    // Made by the program's services only; QML gets the one they registered.
    friend class Services;
    FirstFrame() = default;

    bool m_viewsShown = true;
};
