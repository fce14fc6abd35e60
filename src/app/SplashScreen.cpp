#include "SplashScreen.h"

#include "ErrorMessages.h"
#include "KeyRouter.h"
#include "sources/AppClock.h"

SplashScreen::SplashScreen(QObject *parent)
    : SplashScreen(AppState::shared(), KeyRouter::shared(), AppClock::system(), parent)
{
}

SplashScreen::SplashScreen(AppState *app, KeyRouter *router, AppClock *clock, QObject *parent)
    : KeyHandler(router, parent)
    , m_app(app)
    , m_clock(clock)
{
}

SplashScreen::~SplashScreen() = default;

void SplashScreen::appeared()
{
    if (!m_appear) {
        m_appear = true;
        emit appearChanged();
    }
    boot();
}

void SplashScreen::retry()
{
    setError(std::nullopt);
    ++m_attempt;
    emit attemptChanged();
    boot();
}

bool SplashScreen::handleKey(const Key &key)
{
    if (key.kind != Key::Kind::enter || !m_error)
        return false;
    retry();
    return true;
}

QCoro::Task<> SplashScreen::boot()
{
    // A newer run replaces this one; its hold timer goes with it.
    const quint64 run = ++m_run;
    m_hold.reset();
    if (!m_app)
        co_return;
    const QPointer<SplashScreen> self(this);
    const qint64 start = m_clock->nowMs();
    const DeviceResult result = co_await m_app->refreshDevice();
    if (!self || m_run != run || !m_app)
        co_return;
    const qint64 remaining = kMinimumShowMs - (m_clock->nowMs() - start);
    if (remaining > 0)
        m_hold = m_clock->after(remaining, [this, result] { finish(result); });
    else
        finish(result);
}

void SplashScreen::finish(const DeviceResult &result)
{
    if (!m_app)
        return;
    if (const auto *failure = std::get_if<std::exception_ptr>(&result); failure && !m_app->device()) {
        setError(userMessage(*failure));
        return;
    }
    m_app->replace(m_app->rootRoute());
}

void SplashScreen::setError(std::optional<QString> error)
{
    if (m_error == error)
        return;
    m_error = std::move(error);
    emit errorChanged();
}
