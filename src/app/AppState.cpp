#include "AppState.h"

#include "Localization.h"
#include "Prefs.h"
#include "QmlSingleton.h"
#include "sources/AppClock.h"
#include "sources/DeviceIdentity.h"
#include "sources/Http.h"
#include "sources/XtreamClient.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTimer>
#include <QWindow>

AppState::AppState(Prefs *prefs, Http *http, QString portalAddress, AppClock *clock, QObject *parent)
    : QObject(parent)
    , m_prefs(prefs)
    , m_http(http)
    , m_portalAddress(std::move(portalAddress))
    , m_clock(clock)
    , m_stack(new RouteStack(this))
{
    m_stack->append(RouteEntry::fresh(Routes::Splash {}));
    m_device = m_prefs->cachedDevice();
}

AppState::~AppState() = default;

AppState *AppState::create(QQmlEngine *, QJSEngine *)
{
    return registeredForQml<AppState>();
}

Route AppState::current() const
{
    return stack().isEmpty() ? Route(Routes::Home {}) : stack().last().route;
}

void AppState::push(Route route)
{
    m_stack->append(RouteEntry::fresh(std::move(route)));
    emit stackChanged();
}

void AppState::replace(Route route)
{
    m_stack->resetTo(RouteEntry::fresh(std::move(route)));
    emit stackChanged();
}

void AppState::pop()
{
    if (!canGoBack())
        return;
    m_stack->removeLast();
    emit stackChanged();
}

Route AppState::rootRoute() const
{
    if (!m_device || m_device->playlists.isEmpty())
        return Routes::Activation {};
    if (m_device->playlists.size() == 1)
        return Routes::Home {};
    const qint64 saved = m_prefs->selectedPlaylistId();
    for (const Playlist &playlist : m_device->playlists) {
        if (playlist.id == saved)
            return Routes::Home {};
    }
    return Routes::PlaylistPicker {};
}

std::optional<Playlist> AppState::activePlaylist() const
{
    if (!m_device || m_device->playlists.isEmpty())
        return std::nullopt;
    const QList<Playlist> &playlists = m_device->playlists;
    const qint64 saved = m_prefs->selectedPlaylistId();
    auto taken = std::find_if(playlists.begin(), playlists.end(),
        [saved](const Playlist &playlist) { return playlist.id == saved; });
    if (taken == playlists.end()) {
        if (playlists.size() != 1)
            return std::nullopt;
        taken = playlists.begin();
    }
    if (isXtreamGetLink(*taken)) {
        if (const std::optional<Playlist> account = xtreamCredentials(*taken))
            return account;
    }
    return *taken;
}

void AppState::showToast(const QString &text)
{
    m_toastTimer.reset();
    m_toast = text;
    emit toastChanged();
    m_toastTimer = m_clock->after(kToastMs, [this] { hideToast(); });
}

void AppState::toggleFavorite(const FavoriteEntry &entry)
{
    const bool added = m_prefs->toggleFavorite(entry);
    showToast(::tr(added ? QStringLiteral("added_to_favorites") : QStringLiteral("removed_from_favorites")));
}

void AppState::hideToast()
{
    if (!m_toast)
        return;
    m_toast.reset();
    emit toastChanged();
}

void AppState::setDialog(std::unique_ptr<ChoiceDialogModel> dialog)
{
    if (!dialog && !m_dialog)
        return;
    // Views still show the old model while it fades out.
    if (m_dialog)
        QTimer::singleShot(kClosedDialogKeepMs, m_dialog.data(), &QObject::deleteLater);
    m_dialog = dialog.release();
    if (m_dialog)
        m_dialog->setParent(this);
    emit dialogChanged();
}

void AppState::setLanguage(const QString &code)
{
    m_keptFocus.clear();
    emit languageChanging();
    m_prefs->setLanguage(code);
    setActiveLanguage(code);
    ++m_langTick;
    emit langTickChanged();
}

void AppState::setIsFullScreen(bool fullScreen)
{
    if (m_isFullScreen == fullScreen)
        return;
    m_isFullScreen = fullScreen;
    emit isFullScreenChanged();
}

void AppState::observeWindow(QWindow *window)
{
    if (!window)
        return;
    connect(window, &QWindow::windowStateChanged, this,
        [this, window] { setIsFullScreen(window->windowStates().testFlag(Qt::WindowFullScreen)); });
    setIsFullScreen(window->windowStates().testFlag(Qt::WindowFullScreen));
}

void AppState::toggleFullScreen()
{
    QWindow *window = QGuiApplication::focusWindow();
    if (!window) {
        const QWindowList windows = QGuiApplication::topLevelWindows();
        if (windows.isEmpty())
            return;
        window = windows.first();
    }
    // Leaving full screen restores what the window was before (maximised, say).
    const char *before = "statesBeforeFullScreen";
    const Qt::WindowStates states = window->windowStates();
    if (states.testFlag(Qt::WindowFullScreen)) {
        const QVariant saved = window->property(before);
        window->setProperty(before, QVariant());
        const Qt::WindowStates restored = saved.isValid() ? Qt::WindowStates(saved.toInt()) : states;
        window->setWindowStates(restored & ~Qt::WindowFullScreen);
    } else {
        window->setProperty(before, int(states & ~Qt::WindowMinimized));
        window->setWindowStates((states & ~Qt::WindowMinimized) | Qt::WindowFullScreen);
    }
    window->setVisible(true);
}

bool isVersion(const OptText &version, const QString &newerThan)
{
    if (!version || version->isEmpty())
        return false;
    const auto parts = [](const QString &text) {
        QList<qint64> numbers;
        for (const QString &piece : text.split(u'.', Qt::SkipEmptyParts)) {
            // toLongLong skips blanks around the digits; a piece with blanks is no number.
            const bool blanks = piece.trimmed().size() != piece.size();
            numbers.append(blanks ? 0 : piece.toLongLong());
        }
        return numbers;
    };
    const QList<qint64> a = parts(*version);
    const QList<qint64> b = parts(newerThan);
    for (qsizetype i = 0; i < qMax(a.size(), b.size()); ++i) {
        const qint64 x = a.value(i, 0);
        const qint64 y = b.value(i, 0);
        if (x != y)
            return x > y;
    }
    return false;
}
