#pragma once

#include <QObject>
#include <QTimer>
#include <QtQml/qqmlregistration.h>

#include <optional>

class AppClock;

// Turns a card's clicks into taps. Without a double-tap action every click is a
// single tap at once. With one, a second click within the double-click interval
// is a double tap (and no single tap); a lone click becomes a single tap once the
// interval has passed.
class TapRule : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool doubleEnabled READ doubleEnabled WRITE setDoubleEnabled NOTIFY doubleEnabledChanged)
    Q_PROPERTY(int interval READ interval WRITE setInterval NOTIFY intervalChanged)
    Q_PROPERTY(bool pending READ pending NOTIFY pendingChanged)

public:
    // Times the clicks on the clock the program registered.
    explicit TapRule(QObject *parent = nullptr);

    bool doubleEnabled() const { return m_doubleEnabled; }
    void setDoubleEnabled(bool enabled);
    int interval() const { return m_interval; }
    void setInterval(int ms);
    // A click is waiting to learn whether a second one follows.
    bool pending() const { return m_pendingSince.has_value(); }

    Q_INVOKABLE void click();

signals:
    void singleTap();
    void doubleTap();
    void doubleEnabledChanged();
    void intervalChanged();
    void pendingChanged();

private:
    void settle();
    void setPending(std::optional<qint64> since);

    bool m_doubleEnabled = false;
    int m_interval;
    std::optional<qint64> m_pendingSince;
    QTimer m_timer;
    AppClock *m_clock;
};
