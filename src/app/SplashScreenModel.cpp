#include "SplashScreenModel.h"

#include "sources/AppClock.h"
#include "ErrorMessages.h"

SplashScreenModel::SplashScreenModel(ScreenDeps deps, RouteEntry entry, QObject *parent)
    : RouteScreen(std::move(deps), std::move(entry), parent)
{
}

SplashScreenModel::~SplashScreenModel() = default;

void SplashScreenModel::shown()
{
    m_appear = true;
    emit appearChanged();
    boot();
}

void SplashScreenModel::retry()
{
    setError(std::nullopt);
    ++m_attempt;
    emit attemptChanged();
    boot();
}

bool SplashScreenModel::handleKey(const Key &key)
{
    if (key.kind != Key::Kind::enter || !m_error)
        return false;
    retry();
    return true;
}

QCoro::Task<> SplashScreenModel::boot()
{
    // A newer run replaces this one; its hold timer goes with it.
    const quint64 run = ++m_run;
    m_hold.reset();
    const QPointer<SplashScreenModel> self(this);
    const qint64 start = deps().clock->nowMs();
    const DeviceResult result = co_await app()->refreshDevice();
    if (!self || m_run != run)
        co_return;
    const qint64 remaining = kMinimumShowMs - (deps().clock->nowMs() - start);
    if (remaining > 0)
        m_hold = deps().clock->after(remaining, [this, result] { finish(result); });
    else
        finish(result);
}

void SplashScreenModel::finish(const DeviceResult &result)
{
    if (const auto *failure = std::get_if<std::exception_ptr>(&result); failure && !app()->device()) {
        setError(userMessage(*failure));
        return;
    }
    app()->backToStart();
}

void SplashScreenModel::setError(std::optional<QString> error)
{
    if (m_error == error)
        return;
    m_error = std::move(error);
    emit errorChanged();
}
