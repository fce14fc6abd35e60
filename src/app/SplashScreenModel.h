#pragma once

#include "AppState.h"
#include "RouteScreen.h"

#include <QString>
#include <QtQml/qqmlregistration.h>

#include <memory>
#include <optional>

class AppClock;
class AppTimer;

// The first screen: runs the portal exchange, stays up at least 0.9 s, then replaces the
// route stack with the root route. Without a reachable portal and without a cached record
// it shows the error; Enter or the button retries.
class SplashScreenModel : public RouteScreen {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the route table")
    Q_PROPERTY(QString error READ errorText NOTIFY errorChanged)
    Q_PROPERTY(bool hasError READ hasError NOTIFY errorChanged)
    Q_PROPERTY(bool appear READ appear NOTIFY appearChanged)
    Q_PROPERTY(int attempt READ attempt NOTIFY attemptChanged)
    Q_PROPERTY(QString version READ version CONSTANT)

public:
    static constexpr qint64 kMinimumShowMs = 900;

    SplashScreenModel(ScreenDeps deps, RouteEntry entry, QObject *parent = nullptr);
    ~SplashScreenModel() override;

    std::optional<QString> error() const { return m_error; }
    QString errorText() const { return m_error.value_or(QString()); }
    bool hasError() const { return m_error.has_value(); }
    bool appear() const { return m_appear; }
    int attempt() const { return m_attempt; }
    QString version() const { return AppState::kAppVersion; }

    // Clears the error and runs the exchange again.
    Q_INVOKABLE void retry();
    // Enter retries while the error shows; nothing else is taken.
    bool handleKey(const Key &key) override;

signals:
    void errorChanged();
    void appearChanged();
    void attemptChanged();

private:
    // The view came on screen: starts the entrance and the first exchange.
    void shown() override;
    QCoro::Task<> boot();
    void finish(const DeviceResult &result);
    void setError(std::optional<QString> error);

    std::optional<QString> m_error;
    bool m_appear = false;
    int m_attempt = 0;
    quint64 m_run = 0; // only the newest run may finish
    std::unique_ptr<AppTimer> m_hold;
};
