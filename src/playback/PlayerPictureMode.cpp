#include "PlayerPictureMode.h"

#include "PlayerChrome.h"
#include "sources/AppClock.h"
#include "app/Prefs.h"

PlayerPictureMode::PlayerPictureMode(Prefs *prefs, AppClock *clock, PlayerChrome *chrome, QObject *parent)
    : QObject(parent)
    , m_prefs(prefs)
    , m_chrome(chrome)
    , m_timer(clock->createTimer())
{
    connect(m_prefs, &Prefs::aspectModeChanged, this, &PlayerPictureMode::modeChanged);
}

PlayerPictureMode::~PlayerPictureMode() = default;

int PlayerPictureMode::mode() const
{
    return int(m_prefs->aspectMode());
}

QString PlayerPictureMode::label() const
{
    return pictureModeLabel(m_prefs->aspectMode());
}

void PlayerPictureMode::stop()
{
    m_timer->stop();
}

void PlayerPictureMode::cycle()
{
    m_prefs->setAspectMode(nextPictureMode(m_prefs->aspectMode()));
    setToast(label());
    endToastLater();
    m_chrome->show();
}

// One timer, restarted by every toast, so a newer toast keeps its full time.
void PlayerPictureMode::endToastLater()
{
    m_timer->start(kToastMs, false, [this] { setToast(std::nullopt); });
}

void PlayerPictureMode::setToast(std::optional<QString> text)
{
    m_toast = std::move(text);
    emit toastChanged();
}
