#pragma once

#include "ProgramServices.h"
#include "QmlHarness.h"
#include "kit/InterfaceFonts.h"

#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>

// The application's whole window (qrc:/Zelfor/Shell/Main.qml) over the process's program
// services, as the program shows it; every warning raised while it lives is kept.
class AppWindow {
public:
    AppWindow()
    {
        loadInterfaceFonts();
        // Its singletons are the services registered.
        programServices();
        // The static modules' qmldir files live in the resources.
        m_engine.addImportPath(QStringLiteral("qrc:/"));
        m_load = loadQml(m_engine, QStringLiteral("qrc:/Zelfor/Shell/Main.qml"));
        m_window = qobject_cast<QQuickWindow *>(m_load.object.get());
    }

    QQuickWindow *window() const { return m_window; }
    QStringList problems() const { return m_load.problems; }
    QStringList warnings() const { return m_warnings.warnings(); }

    // The view-model of that kind that takes the keys now (the top screen's); nullptr while none does.
    template <typename Model> Model *top() const
    {
        return m_window ? topBelow<Model>(m_window->contentItem()) : nullptr;
    }

private:
    template <typename Model> static Model *topBelow(QQuickItem *item)
    {
        for (Model *model : item->findChildren<Model *>(Qt::FindDirectChildrenOnly)) {
            if (model->isActive())
                return model;
        }
        for (QQuickItem *child : item->childItems()) {
            if (Model *model = topBelow<Model>(child))
                return model;
        }
        return nullptr;
    }

    WarningCollector m_warnings;
    QQmlEngine m_engine;
    QmlLoad m_load;
    QQuickWindow *m_window = nullptr;
};
