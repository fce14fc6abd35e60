#include "PlayerPictureMode.h"

#include "PlayerChrome.h"
#include "sources/AppClock.h"
#include "app/Localization.h"
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
    const qint64 mode = m_prefs->aspectMode();
    return mode == 1 || mode == 2 ? int(mode) : 0;
}

QString PlayerPictureMode::label() const
{
    static const char *const kLabels[] = { "aspect_fill", "aspect_fit", "aspect_zoom" };
    return ::tr(QString::fromLatin1(kLabels[mode()]));
}

void PlayerPictureMode::stop()
{
    m_timer->stop();
}

void PlayerPictureMode::cycle()
{
    m_prefs->setAspectMode((mode() + 1) % 3);
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
