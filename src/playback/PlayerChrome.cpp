#include "PlayerChrome.h"

#include "sources/AppClock.h"

#include <QCursor>
#include <QGuiApplication>

PlayerChrome::PlayerChrome(AppClock *clock, Prefs *prefs, Inputs inputs, QObject *parent)
    : QObject(parent)
    , m_inputs(std::move(inputs))
    , m_hideTimer(clock->createTimer())
    , m_clock(clock, prefs)
{
    connect(&m_clock, &WallClock::ticked, this, &PlayerChrome::clockChanged);
}

PlayerChrome::~PlayerChrome()
{
    restoreCursor();
}

bool PlayerChrome::shown() const
{
    return (m_controls && !m_inputs.listShown()) || m_inputs.hasError();
}

QString PlayerChrome::clockText() const
{
    return m_clock.text();
}

void PlayerChrome::startClock()
{
    m_clock.start(kClockMs);
}

void PlayerChrome::show()
{
    setControls(true, kShowFadeMs);
    hideAfterDelay();
}

void PlayerChrome::toggle()
{
    if (m_controls)
        setControls(false, kTapHideFadeMs);
    else
        show();
}

void PlayerChrome::pointerAt(QPointF at)
{
    if (m_pointer == at)
        return;
    m_pointer = at;
    restoreCursor();
    show();
}

void PlayerChrome::refresh()
{
    if (shown() == m_shown)
        return;
    m_shown = shown();
    emit shownChanged();
}

void PlayerChrome::stop()
{
    m_stopped = true;
    m_hideTimer->stop();
    m_clock.stop();
    restoreCursor();
}

void PlayerChrome::setControls(bool shown, int fadeMs)
{
    if (m_controls == shown)
        return;
    m_controls = shown;
    m_controlsFadeMs = fadeMs;
    emit controlsChanged();
    refresh();
}

// Each call replaces the pending hide, so the newest show wins.
void PlayerChrome::hideAfterDelay()
{
    m_hideTimer->start(kHideMs, false, [this] {
        if (m_inputs.held())
            return;
        setControls(false, kHideFadeMs);
        hideCursor();
    });
}

// The cursor is hidden at most once at a time, so one restore always brings it back.
void PlayerChrome::hideCursor()
{
    if (m_cursorHidden || m_stopped)
        return;
    m_cursorHidden = true;
    QGuiApplication::setOverrideCursor(QCursor(Qt::BlankCursor));
}

void PlayerChrome::restoreCursor()
{
    if (!m_cursorHidden)
        return;
    m_cursorHidden = false;
    QGuiApplication::restoreOverrideCursor();
}
