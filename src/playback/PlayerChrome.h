#pragma once

#include "app/WallClock.h"

#include <QObject>
#include <QPointF>
#include <QString>
#include <QtQml/qqmlregistration.h>

#include <functional>
#include <memory>
#include <optional>

class AppClock;
class AppTimer;
class Prefs;

// The player's overlay timing: each show restarts the hide delay, which passes without
// hiding while something holds the overlay up, and the mouse cursor hides with the overlay.
// Also the clock of the top bar.
class PlayerChrome : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the player screen")
    Q_PROPERTY(bool controls READ controls NOTIFY controlsChanged)
    Q_PROPERTY(int controlsFadeMs READ controlsFadeMs NOTIFY controlsChanged)
    Q_PROPERTY(bool shown READ shown NOTIFY shownChanged)
    Q_PROPERTY(QString clockText READ clockText NOTIFY clockChanged)

public:
    static constexpr qint64 kHideMs = 3500;
    static constexpr qint64 kClockMs = 15000;
    static constexpr int kShowFadeMs = 150;
    static constexpr int kHideFadeMs = 350;
    static constexpr int kTapHideFadeMs = 200;

    // What the chrome reads of the rest of the screen.
    struct Inputs {
        // The channel list is open; it covers the chrome.
        std::function<bool()> listShown;
        // The engine failed; the chrome stays up for the error card.
        std::function<bool()> hasError;
        // Something keeps the overlay up: the list, a scrub, an open track menu.
        std::function<bool()> held;
    };

    PlayerChrome(AppClock *clock, Prefs *prefs, Inputs inputs, QObject *parent = nullptr);
    ~PlayerChrome() override;

    bool controls() const { return m_controls; }
    int controlsFadeMs() const { return m_controlsFadeMs; }
    // The overlay is up and not covered by the list, or the engine failed.
    bool shown() const;
    QString clockText() const;

    void startClock();
    void show();
    // A tap on the picture: hides a shown overlay quickly, else shows it.
    void toggle();
    // The pointer is at `at` over the screen; only a move shows the overlay and the cursor,
    // since the window repeats hover events at a resting pointer while the picture changes.
    Q_INVOKABLE void pointerAt(QPointF at);
    // The list or the error changed: `shown` follows.
    void refresh();
    // The screen left: the delays stop and the cursor comes back, for good.
    void stop();

signals:
    void controlsChanged();
    void shownChanged();
    void clockChanged();

private:
    void setControls(bool shown, int fadeMs);
    void hideAfterDelay();
    void hideCursor();
    void restoreCursor();

    Inputs m_inputs;
    bool m_controls = true;
    int m_controlsFadeMs = kShowFadeMs;
    bool m_shown = true;
    bool m_stopped = false;
    bool m_cursorHidden = false;
    std::optional<QPointF> m_pointer;
    std::unique_ptr<AppTimer> m_hideTimer;
    WallClock m_clock;
};
