#include "FirstFrame.h"

#include "app/QmlSingleton.h"

#include <utility>

FirstFrame *FirstFrame::create(QQmlEngine *, QJSEngine *)
{
    return registeredForQml<FirstFrame>();
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
