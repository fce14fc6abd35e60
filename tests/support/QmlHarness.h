#pragma once

#include <QQmlComponent>
#include <QQmlEngine>
#include <QStringList>
#include <QVariantMap>

#include <memory>

// Collects every warning (QML or qWarning) raised while it is alive.
class WarningCollector {
public:
    WarningCollector();
    ~WarningCollector();
    WarningCollector(const WarningCollector &) = delete;
    WarningCollector &operator=(const WarningCollector &) = delete;

    QStringList warnings() const;

private:
    QtMessageHandler m_previous;
};

// Creates the component at a qrc URL with the given initial properties; records
// load errors and warnings so a test can assert there were none.
struct QmlLoad {
    std::unique_ptr<QObject> object;
    QStringList problems;
};

QmlLoad loadQml(QQmlEngine &engine, const QString &url, const QVariantMap &properties = {});
