#pragma once

#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>

class AppClock;
class AppTimer;
class Prefs;

// The time of day a screen shows: the wall time read from the clock now and again on each
// tick, and its text in the active language and the chosen time format.
class WallClock : public QObject {
    Q_OBJECT

public:
    WallClock(AppClock *clock, Prefs *prefs, QObject *parent = nullptr);
    ~WallClock() override;

    // The local time of the last reading.
    QDateTime now() const { return m_now; }
    QString text() const;
    bool ticking() const;

    // Reads the time now and again every `periodMs`.
    void start(qint64 periodMs);
    void stop();

signals:
    // The time was read again.
    void ticked();
    // A reading changed the text.
    void textChanged();

private:
    void read();

    QPointer<Prefs> m_prefs;
    AppClock *m_clock;
    std::unique_ptr<AppTimer> m_timer;
    QDateTime m_now;
};
