#include "QmlHarness.h"

#include <QCoreApplication>
#include <QMutex>

namespace {

QMutex collectedMutex;
QStringList collected;

void collect(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtDebugMsg || type == QtInfoMsg)
        return;
    QMutexLocker lock(&collectedMutex);
    collected.append(message);
}

} // namespace

WarningCollector::WarningCollector()
{
    QMutexLocker lock(&collectedMutex);
    collected.clear();
    m_previous = qInstallMessageHandler(collect);
}

WarningCollector::~WarningCollector()
{
    qInstallMessageHandler(m_previous);
}

QStringList WarningCollector::warnings() const
{
    QMutexLocker lock(&collectedMutex);
    return collected;
}

QmlLoad loadQml(QQmlEngine &engine, const QString &url, const QVariantMap &properties)
{
    WarningCollector collector;
    QmlLoad result;
    QQmlComponent component(&engine, QUrl(url));
    // Qt 6.4 crashes creating from a component that failed to compile.
    if (!component.isError())
        result.object.reset(component.createWithInitialProperties(properties));
    for (const QQmlError &error : component.errors())
        result.problems.append(error.toString());
    QCoreApplication::processEvents();
    result.problems.append(collector.warnings());
    return result;
}
