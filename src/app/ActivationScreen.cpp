#include "ActivationScreen.h"

#include "ErrorMessages.h"
#include "KeyRouter.h"
#include "Localization.h"
#include "Prefs.h"
#include "WebAddress.h"
#include "sources/AppClock.h"
#include "sources/Catalog.h"
#include "sources/DeviceIdentity.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>

namespace {

ActivationHooks withDefaults(ActivationHooks hooks)
{
    if (!hooks.clock)
        hooks.clock = AppClock::system();
    if (!hooks.catalog)
        hooks.catalog = Catalog::shared();
    if (!hooks.openUrl)
        hooks.openUrl = [](const QUrl &url) { return QDesktopServices::openUrl(url); };
    if (hooks.portalAddress.isEmpty())
        hooks.portalAddress = portalBaseAddress();
    return hooks;
}

} // namespace

ActivationScreen::ActivationScreen(QObject *parent)
    : ActivationScreen(AppState::shared(), KeyRouter::shared(), {}, parent)
{
}

ActivationScreen::ActivationScreen(AppState *app, KeyRouter *router, ActivationHooks hooks, QObject *parent)
    : KeyHandler(router, parent)
    , m_app(app)
    , m_hooks(withDefaults(std::move(hooks)))
{
    connect(app, &AppState::stackChanged, this, &ActivationScreen::stackChanged);
    connect(app, &AppState::offlineChanged, this, &ActivationScreen::offlineChanged);
    connect(app, &AppState::deviceChanged, this, &ActivationScreen::deviceChanged);
    connect(app, &AppState::deviceChanged, this, &ActivationScreen::keepFocusShown);
    schedulePeriodic();
}

ActivationScreen::~ActivationScreen() = default;

bool ActivationScreen::canGoBack() const { return m_app && m_app->canGoBack(); }

bool ActivationScreen::offline() const { return m_app && m_app->offline(); }

QString ActivationScreen::deviceAddress() const
{
    if (m_app && m_app->device() && !m_app->device()->mac.isEmpty())
        return m_app->device()->mac;
    return m_app ? m_app->prefs()->deviceMac() : QString();
}

QString ActivationScreen::deviceKey() const
{
    return m_app && m_app->device() ? m_app->device()->device_key : QString();
}

QString ActivationScreen::siteAddress() const
{
    if (m_app && m_app->device()) {
        const OptText &site = m_app->device()->site_url;
        if (site && !site->isEmpty())
            return *site;
    }
    return m_hooks.portalAddress;
}

QString ActivationScreen::manageAddress() const
{
    QString site = siteAddress();
    while (site.endsWith(QLatin1Char('/')))
        site.chop(1);
    return site + QStringLiteral("/manage");
}

QString ActivationScreen::siteLabel() const
{
    QString label = siteAddress();
    label.remove(QStringLiteral("https://"));
    label.remove(QStringLiteral("http://"));
    return label;
}

bool ActivationScreen::hasPlaylists() const
{
    return m_app && m_app->device() && !m_app->device()->playlists.isEmpty();
}

bool ActivationScreen::canContinue() const { return hasPlaylists(); }

QString ActivationScreen::titleKey() const
{
    if (!m_app || !m_app->device())
        return QStringLiteral("act_title_setup");
    return hasPlaylists() ? QStringLiteral("act_title_device") : QStringLiteral("act_title_no_playlist");
}

QString ActivationScreen::title() const { return ::tr(titleKey()); }

QString ActivationScreen::stepOne() const { return ::tr(QStringLiteral("act_step1"), { siteLabel() }); }

QString ActivationScreen::emailLine() const
{
    if (!m_app || !m_app->device() || !m_app->device()->support)
        return {};
    const OptText &email = m_app->device()->support->email;
    if (!email || !email->contains(QLatin1Char('@')))
        return {};
    return ::tr(QStringLiteral("support_email"), { *email });
}

QString ActivationScreen::whatsappLine() const
{
    if (!m_app || !m_app->device() || !m_app->device()->support)
        return {};
    const OptText &number = m_app->device()->support->whatsapp;
    if (!number || number->isEmpty())
        return {};
    // Isolated left to right, so "+" stays in front of the number in Arabic.
    return ::tr(QStringLiteral("whatsapp"), { QChar(0x2066) + *number + QChar(0x2069) });
}

bool ActivationScreen::handleKey(const Key &key)
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

void ActivationScreen::activate()
{
    if (m_focus == 0)
        startRefresh();
    else if (m_focus == 1)
        proceed();
    else
        openSettings();
}

void ActivationScreen::startRefresh() { refresh(false); }

void ActivationScreen::proceed()
{
    if (!m_app)
        return;
    if (m_app->canGoBack())
        m_app->pop();
    else
        m_app->replace(m_app->rootRoute());
}

void ActivationScreen::openSettings()
{
    if (m_app)
        m_app->push(Routes::Settings {});
}

void ActivationScreen::back()
{
    if (m_app)
        m_app->pop();
}

void ActivationScreen::copy(const QString &text)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
    if (m_app)
        m_app->showToast(::tr(QStringLiteral("copied")));
}

void ActivationScreen::copyBoth(const QString &mac, const QString &key)
{
    copy(QStringLiteral("MAC: ") + mac + QLatin1Char('\n') + ::tr(QStringLiteral("device_key")) + QStringLiteral(": ")
        + key);
}

void ActivationScreen::openManagePage(const QString &address)
{
    // The address comes from the portal: only web pages go to the browser.
    if (const std::optional<QUrl> url = webPageUrl(address))
        m_hooks.openUrl(*url);
}

// A refresh the user started completes after its screen is gone; a silent one ends with it.
QCoro::Task<> ActivationScreen::refresh(bool silent)
{
    if (m_busy || !m_app)
        co_return;
    setBusy(true);
    const QPointer<ActivationScreen> self(this);
    const QPointer<AppState> app = m_app;
    Catalog *catalog = m_hooks.catalog;
    const DeviceResult result = co_await app->refreshDevice();
    if (self)
        self->setBusy(false);
    if (!app || (silent && !self))
        co_return;

    if (const auto *failure = std::get_if<std::exception_ptr>(&result)) {
        if (!silent)
            app->showToast(userMessage(*failure));
        co_return;
    }
    if (std::get<DeviceResponse>(result).playlists.isEmpty()) {
        if (!silent)
            app->showToast(::tr(QStringLiteral("still_not_ready")));
        co_return;
    }
    if (app->stack().size() == 1) {
        catalog->reset();
        app->replace(app->rootRoute());
    } else if (!silent) {
        app->showToast(::tr(QStringLiteral("refreshed")));
    }
}

void ActivationScreen::schedulePeriodic()
{
    m_periodic = m_hooks.clock->after(kPeriodMs, [this] { periodicRound(); });
}

QCoro::Task<> ActivationScreen::periodicRound()
{
    // A device that can go on, under another screen, needs no asking.
    const bool skip = hasPlaylists() && m_app && m_app->stack().size() != 1;
    if (!skip) {
        const QPointer<ActivationScreen> self(this);
        co_await refresh(true);
        if (!self)
            co_return;
    }
    schedulePeriodic();
}

void ActivationScreen::setBusy(bool busy)
{
    if (m_busy == busy)
        return;
    m_busy = busy;
    emit busyChanged();
}

// Continue left with the device's playlists: its focus goes back to Refresh.
void ActivationScreen::keepFocusShown()
{
    if (m_focus == 1 && !canContinue())
        setFocus(0);
}

void ActivationScreen::setFocus(int focus)
{
    if (m_focus == focus)
        return;
    m_focus = focus;
    emit focusChanged();
}
