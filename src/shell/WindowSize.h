#pragma once

#include <QObject>
#include <QSize>
#include <QWindow>
#include <QtQml/qqmlregistration.h>

class QJSEngine;
class QQmlEngine;

// The window's first size and its smallest one. The window opens at the default size when
// the screen's free area holds it, else each side at most as long as that area's.
class WindowSize : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(QSize initial READ initial CONSTANT)
    Q_PROPERTY(QSize minimum READ minimum CONSTANT)

public:
    static constexpr QSize kDefault { 1360, 840 };
    // Wide enough for the live screen's fixed columns: 28 + 270 + 16 + 320 + 16 + 440 + 28.
    static constexpr QSize kMinimum { 1118, 680 };

    static WindowSize *create(QQmlEngine *, QJSEngine *);

    // The first size on a screen whose free area (without panels and docks) is `available`.
    static QSize initialFor(const QSize &available);

    // The program tells the free area of the screen the window opens on before the window
    // is made; without it the window opens at the default size.
    void setAvailable(const QSize &available) { m_available = available; }
    QSize initial() const { return m_available.isValid() ? initialFor(m_available) : kDefault; }
    QSize minimum() const { return kMinimum; }
    // Keeps the window's frame, title bar and borders included, on its screen once shown.
    Q_INVOKABLE static void keepOnScreen(QWindow *window);

private:
    // Made by the program's services only; QML gets the one they registered.
    friend class Services;
    WindowSize() = default;

    QSize m_available;
};
