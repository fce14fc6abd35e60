#include "BenchCommands.h"

#include <QElapsedTimer>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QtQml/qqmlextensionplugin.h>

#include <cstdio>
#include <limits>
#include <memory>
#include <vector>

Q_IMPORT_QML_PLUGIN(Zelfor_KitPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_AppPlugin)

namespace {

constexpr int kRows = 2000;
constexpr int kWarmUp = 50;
// Each kind is measured this many times, in turns, and its fastest round counts: a busy
// machine slows single rounds, never speeds them up.
constexpr int kRounds = 3;

struct RowKind {
    const char *name;
    const char *source;
};

// Each kind as most rows of a long list are: not focused, hovered, playing or a favourite;
// a channel without an archive, a poster with a rating. The plain row comes first, as the
// measure of the others.
constexpr RowKind kKinds[] = {
    { "plain",
        "import QtQuick\nRectangle { width: 400; height: 56; color: \"#1b2440\"\n"
        "Text { anchors.centerIn: parent; text: \"FR | Channel\" } }" },
    { "ChannelRow",
        "import Zelfor.Kit\nChannelRow { width: 400; name: \"FR | Channel\"; logo: \"\"; num: 12\n"
        "catchupDays: 0; favorite: false; playing: false; focused: false }" },
    { "CategoryRow", "import Zelfor.Kit\nCategoryRow { width: 260; name: \"News\"; count: 120 }" },
    { "PosterCard",
        "import Zelfor.Kit\nPosterCard { width: 170; name: \"The Long Road Home\"; logo: \"\"\n"
        "ratingBadge: \"7.3\"; favorite: false }" },
};

// Milliseconds per instance to create `count` rows under `parent`, which are then deleted;
// -1 when the kind does not build.
double msPerRow(QQmlComponent &component, QQuickItem *parent, int count)
{
    std::vector<std::unique_ptr<QObject>> rows;
    rows.reserve(size_t(count));
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < count; ++i) {
        QObject *row = component.beginCreate(component.engine()->rootContext());
        if (!row)
            return -1;
        static_cast<QQuickItem *>(row)->setParentItem(parent);
        component.completeCreate();
        rows.emplace_back(row);
    }
    return double(timer.nsecsElapsed()) / 1e6 / count;
}

// Creation time of 2,000 rows of each kind offscreen, and its ratio to a plain row.
int runQmlRows(const QStringList &)
{
    QQuickWindow window;
    window.resize(1280, 800);
    QQmlEngine engine;
    engine.addImportPath(QStringLiteral("qrc:/"));
    std::vector<std::unique_ptr<QQmlComponent>> components;
    for (const RowKind &kind : kKinds) {
        auto &component = components.emplace_back(std::make_unique<QQmlComponent>(&engine));
        component->setData(kind.source, QUrl());
        if (component->isError() || msPerRow(*component, window.contentItem(), kWarmUp) < 0) {
            std::fprintf(stderr, "%s: %s\n", kind.name, qPrintable(component->errorString()));
            return 1;
        }
    }
    std::vector<double> best(components.size(), std::numeric_limits<double>::max());
    for (int round = 0; round < kRounds; ++round) {
        for (size_t i = 0; i < components.size(); ++i)
            best[i] = std::min(best[i], msPerRow(*components[i], window.contentItem(), kRows));
    }
    for (size_t i = 0; i < components.size(); ++i)
        std::printf(
            "qml-rows kind=%s ms_per_row=%.4f ratio=%.1f\n", kKinds[i].name, best[i], best[i] / best[0]);
    return 0;
}

constexpr BenchCommand kCommands[] = {
    { "qml-rows", "(creates 2,000 rows of each kind offscreen)", runQmlRows },
};

} // namespace

std::span<const BenchCommand> qmlRowsBenchCommands()
{
    return kCommands;
}
