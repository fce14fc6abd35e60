#include "NotifyAudit.h"

#include <QMetaProperty>
#include <QSet>
#include <QSignalSpy>
#include <QVariant>

#include <memory>
#include <vector>

namespace {

struct Watched {
    QObject *object;
    QMetaProperty property;
    QString name;
    QVariant before;
    // Index into the spies; -1 without a NOTIFY.
    int spy = -1;
};

class Audit {
public:
    void collect(QObject *object, const QString &path)
    {
        if (!object || m_seen.contains(object))
            return;
        m_seen.insert(object);
        const QMetaObject *meta = object->metaObject();
        for (int i = 0; i < meta->propertyCount(); ++i) {
            const QMetaProperty property = meta->property(i);
            if (!property.isReadable())
                continue;
            const QString name = path + QString::fromLatin1(property.name());
            if (!property.hasNotifySignal() && !property.isConstant()) {
                m_problems.append(name + QStringLiteral(": neither NOTIFY nor CONSTANT"));
                continue;
            }
            const QVariant value = property.read(object);
            if (property.isConstant() && (value.metaType().flags() & QMetaType::PointerToQObject))
                collect(value.value<QObject *>(), name + QLatin1Char('.'));
            m_watched.push_back({ object, property, name, value, spyFor(object, property) });
        }
    }

    QStringList compare() const
    {
        QStringList problems = m_problems;
        for (const Watched &watched : m_watched) {
            const QVariant after = watched.property.read(watched.object);
            if (same(watched.before, after))
                continue;
            if (watched.spy < 0)
                problems.append(watched.name + QStringLiteral(": CONSTANT but changed"));
            else if (m_spies[size_t(watched.spy)]->isEmpty())
                problems.append(watched.name + QStringLiteral(": changed without ")
                    + QString::fromLatin1(watched.property.notifySignal().name()));
        }
        return problems;
    }

private:
    static bool same(const QVariant &a, const QVariant &b)
    {
        if (a.metaType() == b.metaType() && !a.metaType().isEqualityComparable())
            return a.toString() == b.toString();
        return a == b;
    }

    int spyFor(QObject *object, const QMetaProperty &property)
    {
        if (!property.hasNotifySignal())
            return -1;
        const QPair<QObject *, int> key(object, property.notifySignalIndex());
        if (const auto found = m_spyIndex.constFind(key); found != m_spyIndex.cend())
            return *found;
        const QByteArray signature = "2" + property.notifySignal().methodSignature();
        m_spies.push_back(std::make_unique<QSignalSpy>(object, signature.constData()));
        const int index = int(m_spies.size()) - 1;
        m_spyIndex.insert(key, index);
        return index;
    }

    QSet<QObject *> m_seen;
    std::vector<Watched> m_watched;
    std::vector<std::unique_ptr<QSignalSpy>> m_spies;
    QHash<QPair<QObject *, int>, int> m_spyIndex;
    QStringList m_problems;
};

} // namespace

QStringList auditNotifications(QObject *object, const std::function<void()> &step)
{
    Audit audit;
    audit.collect(object, QString());
    step();
    return audit.compare();
}

::testing::AssertionResult notifiesEveryChange(QObject *object, const std::function<void()> &step)
{
    const QStringList problems = auditNotifications(object, step);
    if (problems.isEmpty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << qPrintable(problems.join(QStringLiteral("; ")));
}
