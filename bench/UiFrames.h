#pragma once

#include <QObject>
#include <QPointer>
#include <QQuickItem>
#include <QQuickWindow>

#include <QMutex>
#include <functional>
#include <optional>
#include <vector>

// Monotonic time in nanoseconds, comparable between processes of this machine.
qint64 monotonicNs();

// Keeps the times of the window's scene synchronisations and buffer swaps (both may happen
// on the render thread) so a step can be timed to the first frame that shows a change.
class FrameClock : public QObject {
    Q_OBJECT
public:
    explicit FrameClock(QQuickWindow *window);

    // The swap of the first frame whose scene was taken from the items at or after
    // `changeNs`; waits for it (asking for a frame) at most `timeoutMs`.
    std::optional<qint64> frameAfter(qint64 changeNs, int timeoutMs = 10000);
    // Waits until no frame has been swapped for `quietMs`, at most `timeoutMs`; false when
    // frames kept coming.
    bool waitForQuiet(int quietMs, int timeoutMs);
    // Frames swapped between the two times.
    int framesBetween(qint64 fromNs, qint64 toNs) const;
    // Called on the render thread with each swap's time.
    void onSwap(std::function<void(qint64)> callback);
    // Asks `shows` at each scene synchronisation, while the items are held still, until it
    // holds; firstFrameShowing() is then the swap of that frame.
    void watchSyncs(std::function<bool()> shows);
    std::optional<qint64> firstFrameShowing(int timeoutMs = 10000);

private:
    std::optional<qint64> swapAfter(qint64 changeNs) const;

    QPointer<QQuickWindow> m_window;
    mutable QMutex m_mutex;
    std::vector<qint64> m_syncs;
    std::vector<qint64> m_swaps;
    std::function<void(qint64)> m_onSwap;
    std::function<bool()> m_shows;
    std::optional<qint64> m_showingSync;
};

// Runs the event loop until `done` holds (checked every millisecond); false on timeout.
bool waitUntil(const std::function<bool()> &done, int timeoutMs = 30000);
// Runs the event loop for that long.
void runFor(int ms);

// Every item below `root`, depth first.
QList<QQuickItem *> itemsBelow(QQuickItem *root);
// The first item below `root` with that object name, or nullptr.
QQuickItem *itemNamed(QQuickItem *root, const QString &name);

// The view-model of that kind that takes the keys now (the top screen's), or nullptr.
template <typename Model> Model *activeScreen(QQuickWindow *window)
{
    for (QQuickItem *item : itemsBelow(window->contentItem())) {
        for (Model *model : item->findChildren<Model *>(Qt::FindDirectChildrenOnly)) {
            if (model->isActive())
                return model;
        }
    }
    return nullptr;
}
