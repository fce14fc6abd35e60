#pragma once

#include "ChoiceDialog.h"
#include "RouteStack.h"
#include "Routes.h"
#include "model/Records.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <QUuid>
#include <QWindow>
#include <QtQml/qqmlregistration.h>

#include <QCoroTask>

#include <exception>
#include <memory>
#include <optional>
#include <variant>

class AppClock;
class AppTimer;
class Http;
class Prefs;
class QJSEngine;
class QQmlEngine;

// What a portal exchange gave: the received record or the error that stopped it.
using DeviceResult = std::variant<DeviceResponse, std::exception_ptr>;

// True when `version` is newer than `newerThan`: dotted parts compared as numbers, empty
// parts dropped, a part that is not a number and a missing part count 0.
bool isVersion(const OptText &version, const QString &newerThan);

// The application-wide state: route stack, device record, offline mark, toast, choice
// dialog, language tick and full-screen flag. Main thread only.
class AppState : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(RouteStack *stack READ routeStack NOTIFY stackChanged)
    Q_PROPERTY(bool hasDevice READ hasDevice NOTIFY deviceChanged)
    Q_PROPERTY(bool offline READ offline NOTIFY offlineChanged)
    Q_PROPERTY(QString toast READ toastText NOTIFY toastChanged)
    Q_PROPERTY(bool toastVisible READ toastVisible NOTIFY toastChanged)
    Q_PROPERTY(ChoiceDialogModel *dialog READ dialog NOTIFY dialogChanged)
    Q_PROPERTY(qint64 langTick READ langTick NOTIFY langTickChanged)
    Q_PROPERTY(bool isFullScreen READ isFullScreen NOTIFY isFullScreenChanged)
    Q_PROPERTY(QString appVersion READ appVersion CONSTANT)

public:
    static inline const QString kAppVersion = QStringLiteral(ZELFOR_VERSION);
    static constexpr qint64 kToastMs = 2300;
    // How long a closed dialog's model outlives it, for its fade-out.
    static constexpr int kClosedDialogKeepMs = 1000;
    // A device record is a few kilobytes; a longer portal answer is refused as bad data.
    static constexpr qint64 kDeviceAnswerCap = 4LL * 1024 * 1024;

    // Starts on one splash entry, with the record that `prefs` cached for this portal.
    AppState(Prefs *prefs, Http *http, QString portalAddress, AppClock *clock, QObject *parent = nullptr);
    ~AppState() override;

    static AppState *create(QQmlEngine *, QJSEngine *);

    Prefs *prefs() const { return m_prefs; }
    QString appVersion() const { return kAppVersion; }

    RouteStack *routeStack() const { return m_stack; }
    const QList<RouteEntry> &stack() const { return m_stack->entries(); }
    // The top entry's route; home when the stack is empty.
    Route current() const;
    void push(Route route);
    // The stack becomes one fresh entry for `route`.
    void replace(Route route);
    // There is an entry under the top one for pop() to return to.
    bool canGoBack() const { return stack().size() >= 2; }
    // Removes the top entry when there are two or more.
    Q_INVOKABLE void pop();

    // Where to start for the current device record.
    Route rootRoute() const;
    // Starts again: the stack becomes one entry of the root route.
    void backToStart() { replace(rootRoute()); }
    // The device playlist in use, in Xtream-Codes form when it is a get.php link.
    std::optional<Playlist> activePlaylist() const;
    // Tells every screen that reads the active playlist to read it again, after the saved
    // choice changed (they watch deviceChanged, the record it is taken from).
    void announceActivePlaylist() { emit deviceChanged(); }

    const std::optional<DeviceResponse> &device() const { return m_device; }
    bool hasDevice() const { return m_device.has_value(); }
    bool offline() const { return m_offline; }
    // Posts the device record to the portal; never throws.
    QCoro::Task<DeviceResult> refreshDevice();

    std::optional<QString> toast() const { return m_toast; }
    QString toastText() const { return m_toast.value_or(QString()); }
    bool toastVisible() const { return m_toast.has_value(); }
    // Shows `text` at once, replacing any toast, and hides it after 2.3 s.
    Q_INVOKABLE void showToast(const QString &text);
    // Adds the favourite, or takes it away when stored, and says which in a toast.
    void toggleFavorite(const FavoriteEntry &entry);

    ChoiceDialogModel *dialog() const { return m_dialog; }
    // Shows `dialog` in place of any open one; nullptr closes it.
    void setDialog(std::unique_ptr<ChoiceDialogModel> dialog);

    qint64 langTick() const { return m_langTick; }
    // Stores the "language" setting, applies it and advances the language tick.
    Q_INVOKABLE void setLanguage(const QString &code);
    // The focus an entry's screen had when a language change began, for the screen that the
    // change builds anew for that entry; taken once.
    void keepFocus(const QUuid &entry, const QString &focus) { m_keptFocus.insert(entry, focus); }
    QString takeKeptFocus(const QUuid &entry) { return m_keptFocus.take(entry); }

    bool isFullScreen() const { return m_isFullScreen; }
    void setIsFullScreen(bool fullScreen);
    // Keeps isFullScreen in step with the window's state.
    Q_INVOKABLE void observeWindow(QWindow *window);
    // Toggles full screen of the focus window, else of the first window; leaving it
    // restores the window's earlier state.
    static void toggleFullScreen();

signals:
    void stackChanged();
    void deviceChanged();
    void offlineChanged();
    void toastChanged();
    void dialogChanged();
    // A language change begins: the screens on the stack are about to be built anew.
    void languageChanging();
    void langTickChanged();
    void isFullScreenChanged();

private:
    DeviceRequest deviceRequest() const;
    void acceptDevice(const DeviceResponse &device);
    void setOffline(bool offline);
    void hideToast();

    Prefs *m_prefs;
    Http *m_http;
    QString m_portalAddress;
    AppClock *m_clock;
    RouteStack *m_stack;
    std::optional<DeviceResponse> m_device;
    bool m_offline = false;
    std::optional<QString> m_toast;
    QPointer<ChoiceDialogModel> m_dialog;
    qint64 m_langTick = 0;
    QHash<QUuid, QString> m_keptFocus;
    bool m_isFullScreen = false;
    std::unique_ptr<AppTimer> m_toastTimer;
};
