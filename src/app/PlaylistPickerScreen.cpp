#include "PlaylistPickerScreen.h"

#include "KeyRouter.h"
#include "Localization.h"
#include "PlaybackControl.h"
#include "Prefs.h"

PlaylistPickerScreen::PlaylistPickerScreen(QObject *parent)
    : PlaylistPickerScreen(AppState::shared(), KeyRouter::shared(), PlaybackControl::shared(), parent)
{
}

PlaylistPickerScreen::PlaylistPickerScreen(
    AppState *app, KeyRouter *router, PlaybackControl *playback, QObject *parent)
    : KeyHandler(router, parent)
    , m_app(app)
    , m_playback(playback)
{
    connect(app, &AppState::stackChanged, this, &PlaylistPickerScreen::stackChanged);
    connect(app, &AppState::deviceChanged, this, &PlaylistPickerScreen::cardsChanged);
    m_focus = qMax(0, savedIndex());
}

bool PlaylistPickerScreen::canGoBack() const { return m_app && m_app->canGoBack(); }

QList<Playlist> PlaylistPickerScreen::playlists() const
{
    return m_app && m_app->device() ? m_app->device()->playlists : QList<Playlist>();
}

int PlaylistPickerScreen::savedIndex() const
{
    const QList<Playlist> list = playlists();
    if (list.isEmpty())
        return -1;
    const qint64 saved = m_app->prefs()->selectedPlaylistId();
    for (int i = 0; i < list.size(); ++i) {
        if (list[i].id == saved)
            return i;
    }
    return -1;
}

QVariantList PlaylistPickerScreen::cards() const
{
    const QList<Playlist> list = playlists();
    const int saved = savedIndex();
    const QString word = ::tr(QStringLiteral("playlist"));
    QVariantList cards;
    for (int i = 0; i < list.size(); ++i) {
        cards.append(QVariantMap {
            { QStringLiteral("id"), list[i].id },
            { QStringLiteral("title"), list[i].name.isEmpty() ? word : list[i].name },
            { QStringLiteral("subtitle"), word + QLatin1Char(' ') + QString::number(i + 1) },
            { QStringLiteral("saved"), i == saved },
        });
    }
    return cards;
}

bool PlaylistPickerScreen::handleKey(const Key &key)
{
    const int count = int(playlists().size());
    switch (key.kind) {
    case Key::Kind::up:
    case Key::Kind::left:
        setFocus(qMax(m_focus - 1, 0));
        return true;
    case Key::Kind::down:
    case Key::Kind::right:
        setFocus(qMin(m_focus + 1, count - 1));
        return true;
    case Key::Kind::enter:
    case Key::Kind::space:
        if (m_focus >= 0 && m_focus < count)
            select(playlists()[m_focus].id);
        return true;
    default:
        return false;
    }
}

void PlaylistPickerScreen::select(qint64 id)
{
    if (!m_app)
        return;
    Prefs *prefs = m_app->prefs();
    const qint64 previous = prefs->selectedPlaylistId();
    prefs->setSelectedPlaylistId(id);
    if (id != previous && m_playback)
        m_playback->stop();
    m_app->replace(Routes::Home {});
}

void PlaylistPickerScreen::back()
{
    if (m_app)
        m_app->pop();
}

void PlaylistPickerScreen::setFocus(int focus)
{
    if (m_focus == focus)
        return;
    m_focus = focus;
    emit focusChanged();
}
