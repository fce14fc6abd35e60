#include "PlayerTracks.h"

#include "PlayerEngine.h"
#include "app/Localization.h"

PlayerTracks::PlayerTracks(PlayerEngine *engine, QObject *parent)
    : QObject(parent)
    , m_engine(engine)
{
    connect(m_engine, &PlayerEngine::audioOptionsChanged, this, &PlayerTracks::menusChanged);
    connect(m_engine, &PlayerEngine::subtitleOptionsChanged, this, &PlayerTracks::menusChanged);
}

QStringList PlayerTracks::audioMenu() const
{
    QStringList names;
    if (m_engine->audioOptions().size() >= 2) {
        for (const TrackOption &option : m_engine->audioOptions())
            names.append(option.name);
    }
    return names;
}

QStringList PlayerTracks::subtitleMenu() const
{
    if (m_engine->subtitleOptions().isEmpty())
        return {};
    QStringList names { ::tr(QStringLiteral("off")) };
    for (const TrackOption &option : m_engine->subtitleOptions())
        names.append(option.name);
    return names;
}

void PlayerTracks::setMenuOpen(bool open)
{
    if (m_menuOpen == open)
        return;
    m_menuOpen = open;
    emit menuOpenChanged();
}

// Entries are read from the engine when chosen; an entry the list no longer has does nothing.
void PlayerTracks::chooseTrack(bool audio, int entry)
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
