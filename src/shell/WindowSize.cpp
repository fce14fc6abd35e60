#include "WindowSize.h"

#include "FrameFit.h"

#include <QQmlEngine>

WindowSize *WindowSize::shared()
{
    static WindowSize instance;
    return &instance;
}

WindowSize *WindowSize::create(QQmlEngine *, QJSEngine *)
{
    WindowSize *size = shared();
    QQmlEngine::setObjectOwnership(size, QQmlEngine::CppOwnership);
    return size;
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
