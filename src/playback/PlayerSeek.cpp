#include "PlayerSeek.h"

#include "PlayerChrome.h"
#include "PlayerEngine.h"
#include "app/Formatters.h"

#include <cmath>

PlayerSeek::PlayerSeek(PlayerEngine *engine, PlayerChrome *chrome, QObject *parent)
    : QObject(parent)
    , m_engine(engine)
    , m_chrome(chrome)
{
    connect(m_engine, &PlayerEngine::positionChanged, this, &PlayerSeek::changed);
    connect(m_engine, &PlayerEngine::durationChanged, this, &PlayerSeek::changed);
}

double PlayerSeek::total() const
{
    return m_engine->duration() > 1 ? m_engine->duration() : 1;
}

double PlayerSeek::shownPosition() const
{
    return m_scrubbing.value_or(m_engine->position());
}

QString PlayerSeek::elapsedText() const
{
    return formatDuration(shownPosition());
}

QString PlayerSeek::durationText() const
{
    return formatDuration(m_engine->duration());
}

void PlayerSeek::scrubChanged(double x, double width)
{
    double at = std::min(total() * (x / width), total());
    at = std::max(at, 0.0);
    setScrubbing(std::isnan(at) ? 0 : at);
    m_chrome->show();
}

// The drag seeks once, at release, to the last dragged time.
void PlayerSeek::scrubEnded()
{
    if (!m_scrubbing)
        return;
    m_engine->seek(*m_scrubbing);
    setScrubbing(std::nullopt);
}

void PlayerSeek::setScrubbing(std::optional<double> at)
{
    if (m_scrubbing == at)
        return;
    m_scrubbing = at;
    emit changed();
}
