#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QtQml/qqmlregistration.h>

#include <memory>
#include <optional>

class AppClock;
class AppTimer;
class PlayerChrome;
class Prefs;

// The player's picture mode (stretch, fit, zoom) kept in the settings, and the short toast
// naming the mode just chosen.
class PlayerPictureMode : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the player screen")
    Q_PROPERTY(int mode READ mode NOTIFY modeChanged)
    Q_PROPERTY(QString label READ label NOTIFY modeChanged)
    Q_PROPERTY(QString toast READ toastText NOTIFY toastChanged)
    Q_PROPERTY(bool toastShown READ toastShown NOTIFY toastChanged)

public:
    static constexpr qint64 kToastMs = 1200;

    PlayerPictureMode(Prefs *prefs, AppClock *clock, PlayerChrome *chrome, QObject *parent = nullptr);
    ~PlayerPictureMode() override;

    // The stored mode as the surface reads it.
    int mode() const;
    QString label() const;
    std::optional<QString> toast() const { return m_toast; }
    QString toastText() const { return m_toast.value_or(QString()); }
    bool toastShown() const { return m_toast.has_value(); }

    // The screen left: a pending toast end is dropped.
    void stop();

    // The next mode, named by the toast; the overlay shows.
    Q_INVOKABLE void cycle();

signals:
    void modeChanged();
    void toastChanged();

private:
    void setToast(std::optional<QString> text);
    void endToastLater();

    QPointer<Prefs> m_prefs;
    PlayerChrome *m_chrome;
    std::optional<QString> m_toast;
    std::unique_ptr<AppTimer> m_timer;
};
