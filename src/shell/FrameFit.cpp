#include "FrameFit.h"

#include <QEvent>
#include <QScreen>
#include <QWindow>

#include <algorithm>

FrameFit::FrameFit(QWindow *window)
    : QObject(window)
    , m_window(window)
{
    window->installEventFilter(this);
}

QRect FrameFit::fitted(
    const QRect &frame, const QMargins &margins, const QRect &available, const QSize &minimum)
{
    const QSize client = frame.marginsRemoved(margins).size();
    const bool windowFits = client.width() <= available.width() && client.height() <= available.height();
    if (available.contains(frame) || !windowFits)
        return frame;
    const QSize edges(margins.left() + margins.right(), margins.top() + margins.bottom());
    const QSize size = frame.size().boundedTo(available.size()).expandedTo(minimum + edges);
    const int x = std::max(available.left(), std::min(frame.left(), available.right() + 1 - size.width()));
    const int y = std::max(available.top(), std::min(frame.top(), available.bottom() + 1 - size.height()));
    return { QPoint(x, y), size };
}

bool FrameFit::eventFilter(QObject *, QEvent *event)
{
    const QEvent::Type type = event->type();
    if ((type == QEvent::Expose || type == QEvent::Move || type == QEvent::Resize) && fit())
        deleteLater();
    return false;
}

bool FrameFit::fit()
{
    const QMargins margins = m_window->frameMargins();
    if (!m_window->isVisible() || margins.isNull() || !m_window->screen())
        return false;
    if (m_window->windowStates() != Qt::WindowNoState)
        return true;
    const QRect frame = m_window->frameGeometry();
    const QRect target
        = fitted(frame, margins, m_window->screen()->availableGeometry(), m_window->minimumSize());
    if (target != frame) {
        m_window->resize(target.size().shrunkBy(margins));
        m_window->setFramePosition(target.topLeft());
    }
    return true;
}
