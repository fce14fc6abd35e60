#pragma once

#include <QObject>
#include <QPointer>
#include <QQuickItem>
#include <QtQml/qqmlregistration.h>

#include <memory>

class AppClock;
class AppTimer;

// The live badge's dot: its opacity fades from 0.35 to 1 and back, 0.9 s each way (ease in
// and out), in steps a few times a second rather than every frame, since each step redraws
// the window. It steps only while `item` is visible on a window that is shown and not
// minimised, so a badge on a screen below the top one, or in a hidden window, costs nothing.
class LivePulse : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QQuickItem *item READ item WRITE setItem NOTIFY itemChanged)
    Q_PROPERTY(qreal opacity READ opacity NOTIFY opacityChanged)
    Q_PROPERTY(bool running READ running NOTIFY runningChanged)

public:
    static constexpr qint64 kFadeMs = 900;
    static constexpr qint64 kStepMs = 300;
    static constexpr qreal kLow = 0.35;

    explicit LivePulse(QObject *parent = nullptr);
    LivePulse(AppClock *clock, QObject *parent = nullptr);
    ~LivePulse() override;

    QQuickItem *item() const { return m_item; }
    void setItem(QQuickItem *item);
    qreal opacity() const { return m_opacity; }
    bool running() const { return m_running; }

    // The opacity `elapsedMs` into the pulse.
    static qreal opacityAt(qint64 elapsedMs);

signals:
    void itemChanged();
    void opacityChanged();
    void runningChanged();

private:
    void watchWindow(QQuickWindow *window);
    void update();
    void step();
    void setOpacity(qreal opacity);

    AppClock *m_clock;
    std::unique_ptr<AppTimer> m_timer;
    QPointer<QQuickItem> m_item;
    QPointer<QQuickWindow> m_window;
    QMetaObject::Connection m_windowWatch;
    qint64 m_startMs = 0;
    qreal m_opacity = kLow;
    bool m_running = false;
};
