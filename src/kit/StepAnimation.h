#pragma once

#include <QObject>
#include <QPointer>
#include <QQuickItem>
#include <QtQml/qqmlregistration.h>

#include <memory>

class AppClock;
class AppTimer;

// An endless animation that moves in steps a few times a second rather than every frame,
// since each step redraws the window. It steps only while `item` is visible on a window
// that is shown and not minimised, so an item on a screen below the top one, or in a
// hidden window, costs nothing.
class StepAnimation : public QObject {
    Q_OBJECT
    QML_ANONYMOUS
    Q_PROPERTY(QQuickItem *item READ item WRITE setItem NOTIFY itemChanged)
    Q_PROPERTY(bool running READ running NOTIFY runningChanged)

public:
    ~StepAnimation() override;

    QQuickItem *item() const { return m_item; }
    void setItem(QQuickItem *item);
    bool running() const { return m_running; }

signals:
    void itemChanged();
    void runningChanged();

protected:
    StepAnimation(qint64 stepMs, AppClock *clock, QObject *parent);

    // Shows the animation `elapsedMs` after it started.
    virtual void showAt(qint64 elapsedMs) = 0;

private:
    void watchWindow(QQuickWindow *window);
    void update();

    qint64 m_stepMs;
    AppClock *m_clock;
    std::unique_ptr<AppTimer> m_timer;
    QPointer<QQuickItem> m_item;
    QPointer<QQuickWindow> m_window;
    QMetaObject::Connection m_windowWatch;
    qint64 m_startMs = 0;
    bool m_running = false;
};
