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
// hidden window, costs nothing. `value` is what the animation shows at the current step.
class StepAnimation : public QObject {
    Q_OBJECT
    QML_ANONYMOUS
    Q_PROPERTY(QQuickItem *item READ item WRITE setItem NOTIFY itemChanged)
    Q_PROPERTY(bool running READ running NOTIFY runningChanged)
    Q_PROPERTY(qreal value READ value NOTIFY valueChanged)

public:
    ~StepAnimation() override;

    QQuickItem *item() const { return m_item; }
    void setItem(QQuickItem *item);
    bool running() const { return m_running; }
    qreal value() const { return m_value; }

signals:
    void itemChanged();
    void runningChanged();
    void valueChanged();

protected:
    // `startValue`: the value at the start, the one valueAt(0) gives.
    StepAnimation(qint64 stepMs, qreal startValue, AppClock *clock, QObject *parent);

    // The value `elapsedMs` after the start.
    virtual qreal valueAt(qint64 elapsedMs) const = 0;

private:
    void watchWindow(QQuickWindow *window);
    void update();
    void showAt(qint64 elapsedMs);

    qint64 m_stepMs;
    AppClock *m_clock;
    std::unique_ptr<AppTimer> m_timer;
    QPointer<QQuickItem> m_item;
    QPointer<QQuickWindow> m_window;
    QMetaObject::Connection m_windowWatch;
    qint64 m_startMs = 0;
    qreal m_value;
    bool m_running = false;
};
