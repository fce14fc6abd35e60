#include "FirstFrame.h"

#include <QQmlEngine>

#include <utility>

FirstFrame *FirstFrame::shared()
{
    static FirstFrame instance;
    return &instance;
}

FirstFrame *FirstFrame::create(QQmlEngine *, QJSEngine *)
{
    FirstFrame *frame = shared();
    QQmlEngine::setObjectOwnership(frame, QQmlEngine::CppOwnership);
    return frame;
}

void FirstFrame::holdViews()
{
    if (std::exchange(m_viewsShown, false))
        emit viewsShownChanged();
}

void FirstFrame::showViews()
{
    if (!std::exchange(m_viewsShown, true))
        emit viewsShownChanged();
}
