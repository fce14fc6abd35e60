#pragma once

#include "ProgramServices.h"
#include "QmlHarness.h"
#include "LayerStandIn.h"
#include "app/AppState.h"
#include "shell/ScreenTable.h"

#include <QQmlEngine>

#include <memory>

// The program state's top entry as its layer shows it: the view-model made from the
// program's route table with the program's services, then its view over it.
struct ShownScreen {
    std::unique_ptr<RouteScreen> model;
    QmlLoad view; // goes before the model it binds

    template <typename Model> Model *as() const { return qobject_cast<Model *>(model.get()); }
    // The view goes first, then the model it binds.
    void close()
    {
        view.object.reset();
        model.reset();
    }
};

inline ShownScreen showTopScreen(QQmlEngine &engine, QVariantMap properties = {})
{
    // The modules' qmldir files sit at qrc:/Zelfor/<Area>/.
    engine.addImportPath(QStringLiteral("qrc:/"));
    const RouteEntry entry = programServices().app()->stack().last();
    const ScreenTable::Row row = ScreenTable::rowOf(entry.route);
    ShownScreen shown;
    shown.model.reset(row.make(programServices().screenDeps(), entry));
    properties.insert(QStringLiteral("screen"), QVariant::fromValue(shown.model.get()));
    shown.view = loadQml(engine, row.view.toString(), properties);
    showAsLayerWould(*shown.model, *programServices().app());
    return shown;
}
