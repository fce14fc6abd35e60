#include "ActivationScreenModel.h"

#include "sources/AppClock.h"
#include "ErrorMessages.h"
#include "Localization.h"
#include "Prefs.h"
#include "WebAddress.h"
#include "sources/Catalog.h"

#include <QClipboard>
#include <QGuiApplication>

ActivationScreenModel::ActivationScreenModel(ScreenDeps deps, RouteEntry entry, QObject *parent)
    : RouteScreen(std::move(deps), std::move(entry), parent)
{
    AppState *app = this->app();
    connect(app, &AppState::offlineChanged, this, &ActivationScreenModel::offlineChanged);
    connect(app, &AppState::deviceChanged, this, &ActivationScreenModel::deviceChanged);
    connect(app, &AppState::deviceChanged, this, &ActivationScreenModel::keepFocusShown);
    schedulePeriodic();
}

ActivationScreenModel::~ActivationScreenModel() = default;

bool ActivationScreenModel::offline() const
{
    return app()->offline();
}

QString ActivationScreenModel::deviceAddress() const
{
    if (app()->device() && !app()->device()->mac.isEmpty())
        return app()->device()->mac;
    return app()->prefs()->deviceMac();
}

QString ActivationScreenModel::deviceKey() const
{
    return app()->device() ? app()->device()->device_key : QString();
}

QString ActivationScreenModel::siteAddress() const
{
    // The portal's site_url reaches the QR code and the steps only when it is a web page.
    if (app()->device()) {
        const OptText &site = app()->device()->site_url;
        if (site && webPageUrl(*site))
            return *site;
    }
    return deps().portalAddress;
}

QString ActivationScreenModel::manageAddress() const
{
    QString site = siteAddress();
    while (site.endsWith(QLatin1Char('/')))
        site.chop(1);
    return site + QStringLiteral("/manage");
}

QString ActivationScreenModel::siteLabel() const
{
    QString label = siteAddress();
    label.remove(QStringLiteral("https://"));
    label.remove(QStringLiteral("http://"));
    return label;
}

bool ActivationScreenModel::hasPlaylists() const
{
    return app()->device() && !app()->device()->playlists.isEmpty();
}

bool ActivationScreenModel::canContinue() const
{
    return hasPlaylists();
}

QString ActivationScreenModel::titleKey() const
{
    if (!app()->device())
        return QStringLiteral("act_title_setup");
    return hasPlaylists() ? QStringLiteral("act_title_device") : QStringLiteral("act_title_no_playlist");
}

QString ActivationScreenModel::title() const
{
    return ::tr(titleKey());
}

QString ActivationScreenModel::stepOne() const
{
    return ::tr(QStringLiteral("act_step1"), { siteLabel() });
}

QString ActivationScreenModel::emailLine() const
{
    if (!app()->device() || !app()->device()->support)
        return {};
    const OptText &email = app()->device()->support->email;
    if (!email || !email->contains(QLatin1Char('@')))
        return {};
    return ::tr(QStringLiteral("support_email"), { *email });
}

QString ActivationScreenModel::whatsappLine() const
{
    if (!app()->device() || !app()->device()->support)
        return {};
    const OptText &number = app()->device()->support->whatsapp;
    if (!number || number->isEmpty())
        return {};
    return ::tr(QStringLiteral("whatsapp"), { *number });
}

bool ActivationScreenModel::handleKey(const Key &key)
{
    // Without Continue, the arrows step over its place.
    const int step = canContinue() ? 1 : 2;
    switch (key.kind) {
    case Key::Kind::left:
        setFocus(qMax(0, m_focus - (m_focus == 2 ? step : 1)));
        return true;
    case Key::Kind::right:
        setFocus(qMin(2, m_focus + (m_focus == 0 ? step : 1)));
        return true;
    case Key::Kind::enter:
    case Key::Kind::space:
        activate();
        return true;
    default:
        return false;
    }
}

void ActivationScreenModel::activate()
{
    if (m_focus == 0)
        startRefresh();
    else if (m_focus == 1)
        proceed();
    else
        openSettings();
}

void ActivationScreenModel::startRefresh()
{
    refresh(false);
}

void ActivationScreenModel::proceed()
{
    if (app()->canGoBack())
        app()->pop();
    else
        app()->backToStart();
}

void ActivationScreenModel::openSettings()
{
    app()->push(Routes::Settings {});
}

void ActivationScreenModel::copy(const QString &text)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
    app()->showToast(::tr(QStringLiteral("copied")));
}

void ActivationScreenModel::copyBoth(const QString &mac, const QString &key)
{
    copy(QStringLiteral("MAC: ") + mac + QLatin1Char('\n') + ::tr(QStringLiteral("device_key"))
        + QStringLiteral(": ") + key);
}

void ActivationScreenModel::openManagePage(const QString &address)
{
    // The address comes from the portal: only web pages go to the browser.
    if (const std::optional<QUrl> url = webPageUrl(address))
        deps().openUrl(*url);
}

// A refresh the user started completes after its screen is gone; a silent one ends with it.
QCoro::Task<> ActivationScreenModel::refresh(bool silent)
{
    if (m_busy)
        co_return;
    setBusy(true);
    const QPointer<ActivationScreenModel> self(this);
    const QPointer<AppState> state = app();
    Catalog *catalog = deps().catalog;
    const DeviceResult result = co_await state->refreshDevice();
    if (self)
        self->setBusy(false);
    if (!state || (silent && !self))
        co_return;

    if (const auto *failure = std::get_if<std::exception_ptr>(&result)) {
        if (!silent)
            state->showToast(userMessage(*failure));
        co_return;
    }
    if (std::get<DeviceResponse>(result).playlists.isEmpty()) {
        if (!silent)
            state->showToast(::tr(QStringLiteral("still_not_ready")));
        co_return;
    }
    if (state->stack().size() == 1) {
        catalog->reset();
        state->backToStart();
    } else if (!silent) {
        state->showToast(::tr(QStringLiteral("refreshed")));
    }
}

void ActivationScreenModel::schedulePeriodic()
{
    m_periodic = deps().clock->after(kPeriodMs, [this] { periodicRound(); });
}

QCoro::Task<> ActivationScreenModel::periodicRound()
{
    // A device that can go on, under another screen, needs no asking.
    const bool skip = hasPlaylists() && app()->stack().size() != 1;
    if (!skip) {
        const QPointer<ActivationScreenModel> self(this);
        co_await refresh(true);
        if (!self)
            co_return;
    }
    schedulePeriodic();
}

void ActivationScreenModel::setBusy(bool busy)
{
    if (m_busy == busy)
        return;
    m_busy = busy;
    emit busyChanged();
}

// Continue left with the device's playlists: its focus goes back to Refresh.
void ActivationScreenModel::keepFocusShown()
{
    if (m_focus == 1 && !canContinue())
        setFocus(0);
}

void ActivationScreenModel::setFocus(int focus)
{
    if (m_focus == focus)
        return;
    m_focus = focus;
    emit focusChanged();
}
