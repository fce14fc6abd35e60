#include "PlayerSubtitleLift.h"

#include "PlayerChrome.h"
#include "PlayerEngine.h"

#include <algorithm>

PlayerSubtitleLift::PlayerSubtitleLift(PlayerEngine *engine, PlayerChrome *chrome, QObject *parent)
    : QObject(parent)
    , m_engine(engine)
    , m_chrome(chrome)
{
    connect(m_chrome, &PlayerChrome::shownChanged, this, &PlayerSubtitleLift::update);
}

void PlayerSubtitleLift::setPicture(const QRectF &picture)
{
    if (picture == m_picture)
        return;
    m_picture = picture;
    emit placeChanged();
    update();
}

void PlayerSubtitleLift::setControlsTop(qreal top)
{
    if (top == m_controlsTop)
        return;
    m_controlsTop = top;
    emit placeChanged();
    update();
}

double PlayerSubtitleLift::lift() const
{
    if (m_stopped || !m_chrome->shown() || m_picture.height() <= 0)
        return 0;
    return std::clamp((m_picture.bottom() - m_controlsTop) / m_picture.height(), 0.0, 1.0);
}

void PlayerSubtitleLift::stop()
{
    m_stopped = true;
    update();
}

void PlayerSubtitleLift::update()
{
    if (m_engine)
        m_engine->setSubtitleLift(lift());
}
