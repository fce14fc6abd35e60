#pragma once

#include <QMargins>
#include <QObject>
#include <QRect>
#include <QSize>

class QWindow;

// Keeps a window's frame on its screen: once the window manager has decorated the window,
// a window that fits the screen's free area but whose title bar and borders reach past it
// is shrunk by as much (never below its minimum size) and its frame moved into that area.
// Decided once, at the first event that shows the frame.
class FrameFit : public QObject {
    Q_OBJECT

public:
    // Watches `window`, which owns the watcher.
    explicit FrameFit(QWindow *window);

    // The frame `frame` with `margins` around the window, moved and shrunk into `available`,
    // keeping the window at least `minimum`; `frame` itself when it lies inside, or when the
    // window alone is larger than `available`.
    static QRect fitted(
        const QRect &frame, const QMargins &margins, const QRect &available, const QSize &minimum);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // True once the frame is known, and then fitted.
    bool fit();

    QWindow *m_window;
};
