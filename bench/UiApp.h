#pragma once

#include "UiFrames.h"
#include "shell/Services.h"

#include <QQmlApplicationEngine>
#include <QString>

#include <memory>
#include <optional>

// The whole program in this process, as main() starts it, driven by key presses that pass
// the key router's filter as a user's do. Each result goes to stdout as "name=value".
class UiApp {
public:
    UiApp();

    Services &services() { return m_services; }
    QQuickWindow *window() const { return m_window; }
    FrameClock &frames() { return *m_frames; }
    bool loaded() const { return m_window != nullptr; }

    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const;
    void type(QChar c) const;
    void click(QQuickItem *item) const;

    QString route() const;
    // Home shows with its three counts.
    bool homeCounted(int timeoutMs) const;
    // Moves the home focus to that tile or action with the arrows.
    bool focusHomeTile(const QString &id) const;
    // Esc until home is on top.
    bool backHome() const;

    // Opens Live TV from home; the time from Enter to the frame showing the channels.
    std::optional<double> openLive();
    // Opens search from home, ready for typing.
    bool openSearch() const;

private:
    Services m_services;
    QQmlApplicationEngine m_engine;
    QQuickWindow *m_window = nullptr;
    std::unique_ptr<FrameClock> m_frames;
};

double elapsedMs(qint64 fromNs, qint64 toNs);
void report(const char *name, double value);
void reportAt(const char *name, qint64 atNs);
