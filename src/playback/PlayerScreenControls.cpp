#include "PlayerScreenModel.h"

#include "PlayerEngine.h"
#include "app/AppState.h"
#include "app/Prefs.h"
#include "model/ContentKeys.h"

bool PlayerScreenModel::spinnerShown() const
{
    return m_engine->buffering() && !m_engine->hasError();
}

QString PlayerScreenModel::errorText() const
{
    return m_engine->errorText();
}

bool PlayerScreenModel::hasError() const
{
    return m_engine->hasError();
}

QString PlayerScreenModel::playPauseIcon() const
{
    return m_engine->isPlaying() || m_engine->buffering() ? QStringLiteral("pause.fill")
                                                          : QStringLiteral("play.fill");
}

bool PlayerScreenModel::seekable() const
{
    return m_engine->isSeekable();
}

PlayerScreenModel::ControlRow PlayerScreenModel::controlRow() const
{
    return {
        .previousNext = queueButtons(),
        .skipTen = seekable(),
        .liveBadge = !seekable() && live(),
        .audioMenu = m_engine->audioOptions().size() >= 2,
        .subtitleMenu = !m_engine->subtitleOptions().isEmpty(),
        .listButton = queueButtons(),
        .favorite = favoriteButton(),
    };
}

bool PlayerScreenModel::isFavorite() const
{
    return favoriteButton() && m_prefs->isFavorite(itemKey(*m_current->favorite));
}

void PlayerScreenModel::toggleFavorite()
{
    if (!favoriteButton())
        return;
    app()->toggleFavorite(*m_current->favorite);
}

QString PlayerScreenModel::fullScreenIcon() const
{
    return app()->isFullScreen() ? QStringLiteral("arrow.down.right.and.arrow.up.left")
                                 : QStringLiteral("arrow.up.left.and.arrow.down.right");
}

void PlayerScreenModel::toggleFullScreen()
{
    AppState::toggleFullScreen();
}

void PlayerScreenModel::togglePause()
{
    m_engine->togglePause();
    m_chrome.show();
}

void PlayerScreenModel::seekBy(double secs)
{
    m_engine->seek(std::max(m_engine->position() + secs, 0.0));
    m_chrome.show();
}

void PlayerScreenModel::retry()
{
    m_engine->retry();
}
