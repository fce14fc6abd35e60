#pragma once

#include "AppState.h"
#include "RouteScreen.h"

#include <QPointer>
#include <QString>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

#include <QCoroTask>

#include <memory>

class AppClock;
class AppTimer;
class Catalog;

// The device information screen: shows the device address and key and the portal's
// management page, asks the portal again on Refresh and every 30 s, and goes on into the
// application once the device has playlists. Focus among the buttons: 0 Refresh,
// 1 Continue, 2 Settings.
class ActivationScreenModel : public RouteScreen {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the route table")
    Q_PROPERTY(bool busy READ busy NOTIFY busyChanged)
    Q_PROPERTY(int focus READ focus NOTIFY focusChanged)
    Q_PROPERTY(bool offline READ offline NOTIFY offlineChanged)
    Q_PROPERTY(QString deviceAddress READ deviceAddress NOTIFY deviceChanged)
    Q_PROPERTY(QString deviceKey READ deviceKey NOTIFY deviceChanged)
    Q_PROPERTY(QString manageAddress READ manageAddress NOTIFY deviceChanged)
    Q_PROPERTY(bool canContinue READ canContinue NOTIFY deviceChanged)
    Q_PROPERTY(QString title READ title NOTIFY deviceChanged)
    Q_PROPERTY(QString stepOne READ stepOne NOTIFY deviceChanged)
    Q_PROPERTY(QString emailLine READ emailLine NOTIFY deviceChanged)
    Q_PROPERTY(QString whatsappLine READ whatsappLine NOTIFY deviceChanged)
    Q_PROPERTY(QString version READ version CONSTANT)

public:
    static constexpr qint64 kPeriodMs = 30000;

    ActivationScreenModel(ScreenDeps deps, RouteEntry entry, QObject *parent = nullptr);
    ~ActivationScreenModel() override;

    bool busy() const { return m_busy; }
    int focus() const { return m_focus; }
    bool offline() const;

    // The record's mac, else the locally generated id.
    QString deviceAddress() const;
    QString deviceKey() const;
    // The record's site_url when it is an http(s) address with a host, else the portal base address.
    QString siteAddress() const;
    // siteAddress() joined with "/manage" by one slash.
    QString manageAddress() const;
    // siteAddress() without its "https://" and "http://" parts.
    QString siteLabel() const;
    bool canContinue() const;
    QString titleKey() const;
    QString title() const;
    QString stepOne() const;
    // Empty when the line is not shown.
    QString emailLine() const;
    QString whatsappLine() const;
    QString version() const { return AppState::kAppVersion; }

    bool handleKey(const Key &key) override;

    // Runs a refresh with its toasts; returns at once.
    Q_INVOKABLE void startRefresh();
    Q_INVOKABLE void proceed();
    Q_INVOKABLE void openSettings();
    Q_INVOKABLE void copy(const QString &text);
    Q_INVOKABLE void copyBoth(const QString &mac, const QString &key);
    // Opens http and https addresses; anything else is ignored.
    Q_INVOKABLE void openManagePage(const QString &address);

    // Asks the portal again; dropped while a refresh runs. A silent refresh shows no toast.
    QCoro::Task<> refresh(bool silent);

signals:
    void busyChanged();
    void focusChanged();
    void offlineChanged();
    void deviceChanged();

private:
    bool hasPlaylists() const;
    void setBusy(bool busy);
    void setFocus(int focus);
    void keepFocusShown();
    void activate();
    void schedulePeriodic();
    QCoro::Task<> periodicRound();

    bool m_busy = false;
    int m_focus = 0;
    std::unique_ptr<AppTimer> m_periodic;
};
