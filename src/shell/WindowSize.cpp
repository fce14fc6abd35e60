#include "WindowSize.h"

#include "FrameFit.h"

#include "app/QmlSingleton.h"

WindowSize *WindowSize::create(QQmlEngine *, QJSEngine *)
{
    return registeredForQml<WindowSize>();
}

QSize WindowSize::initialFor(const QSize &available)
{
    if (available.isEmpty())
        return kDefault;
    return kDefault.boundedTo(available);
}

void WindowSize::keepOnScreen(QWindow *window)
{
    if (window)
        new FrameFit(window);
}
