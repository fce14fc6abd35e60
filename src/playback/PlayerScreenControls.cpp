#include "PlayerScreenModel.h"

#include "PlayerEngine.h"
#include "app/AppState.h"
#include "app/Formatters.h"
#include "app/Localization.h"
#include "app/Prefs.h"
#include "model/ContentKeys.h"

#include <cmath>

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

QStringList PlayerScreenModel::audioMenu() const
{
    QStringList names;
    if (m_engine->audioOptions().size() >= 2) {
        for (const TrackOption &option : m_engine->audioOptions())
            names.append(option.name);
    }
    return names;
}

QStringList PlayerScreenModel::subtitleMenu() const
{
    if (m_engine->subtitleOptions().isEmpty())
        return {};
    QStringList names { ::tr(QStringLiteral("off")) };
    for (const TrackOption &option : m_engine->subtitleOptions())
        names.append(option.name);
    return names;
}

// Entries are read from the engine when chosen; an entry the list no longer has does nothing.
void PlayerScreenModel::chooseTrack(bool audio, int entry)
{
    const QList<TrackOption> &options = audio ? m_engine->audioOptions() : m_engine->subtitleOptions();
    const int option = audio ? entry : entry - 1;
    if (!audio && option == -1) {
        m_engine->selectTrack(std::nullopt, false);
        return;
    }
    if (option >= 0 && option < options.size())
        m_engine->selectTrack(options[option], audio);
}

bool PlayerScreenModel::isFavorite() const
{
    return favoriteButton() && m_prefs->isFavorite(itemKey(*m_current->favorite));
}

void PlayerScreenModel::toggleFavorite()
{
    if (!favoriteButton())
        return;
    m_app->toggleFavorite(*m_current->favorite);
}

QString PlayerScreenModel::fullScreenIcon() const
{
    return m_app->isFullScreen() ? QStringLiteral("arrow.down.right.and.arrow.up.left")
                                 : QStringLiteral("arrow.up.left.and.arrow.down.right");
}

void PlayerScreenModel::toggleFullScreen()
{
    AppState::toggleFullScreen();
}

void PlayerScreenModel::togglePause()
{
    m_engine->togglePause();
    showControls();
}

void PlayerScreenModel::seekBy(double secs)
{
    m_engine->seek(std::max(m_engine->position() + secs, 0.0));
    showControls();
}

double PlayerScreenModel::total() const
{
    return m_engine->duration() > 1 ? m_engine->duration() : 1;
}

double PlayerScreenModel::shownPosition() const
{
    return m_scrubbing.value_or(m_engine->position());
}

QString PlayerScreenModel::elapsedText() const
{
    return formatDuration(shownPosition());
}

QString PlayerScreenModel::durationText() const
{
    return formatDuration(m_engine->duration());
}

void PlayerScreenModel::scrubChanged(double x, double width)
{
    double at = std::min(total() * (x / width), total());
    at = std::max(at, 0.0);
    setScrubbing(std::isnan(at) ? 0 : at);
    showControls();
}

// The drag seeks once, at release, to the last dragged time.
void PlayerScreenModel::scrubEnded()
{
    if (!m_scrubbing)
        return;
    m_engine->seek(*m_scrubbing);
    setScrubbing(std::nullopt);
}

void PlayerScreenModel::setScrubbing(std::optional<double> at)
{
    if (m_scrubbing == at)
        return;
    m_scrubbing = at;
    emit seekRowChanged();
}

void PlayerScreenModel::retry()
{
    m_engine->retry();
}
