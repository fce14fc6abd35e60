#include "PlaylistPickerScreenModel.h"

#include "BidiText.h"
#include "Localization.h"
#include "PlaybackControl.h"
#include "Prefs.h"

PlaylistPickerScreenModel::PlaylistPickerScreenModel(ScreenDeps deps, RouteEntry entry, QObject *parent)
    : RouteScreen(std::move(deps), std::move(entry), parent)
{
    connect(app(), &AppState::deviceChanged, this, &PlaylistPickerScreenModel::cardsChanged);
    m_focus = qMax(0, savedIndex());
}

QList<Playlist> PlaylistPickerScreenModel::playlists() const
{
    return app()->device() ? app()->device()->playlists : QList<Playlist>();
}

int PlaylistPickerScreenModel::savedIndex() const
{
    const QList<Playlist> list = playlists();
    if (list.isEmpty())
        return -1;
    const qint64 saved = app()->prefs()->selectedPlaylistId();
    for (int i = 0; i < list.size(); ++i) {
        if (list[i].id == saved)
            return i;
    }
    return -1;
}

QVariantList PlaylistPickerScreenModel::cards() const
{
    const QList<Playlist> list = playlists();
    const int saved = savedIndex();
    const QString word = ::tr(QStringLiteral("playlist"));
    QVariantList cards;
    for (int i = 0; i < list.size(); ++i) {
        cards.append(QVariantMap {
            { QStringLiteral("id"), list[i].id },
            { QStringLiteral("title"), list[i].name.isEmpty() ? word : list[i].name },
            { QStringLiteral("subtitle"), labelled(word, QString::number(i + 1)) },
            { QStringLiteral("saved"), i == saved },
        });
    }
    return cards;
}

bool PlaylistPickerScreenModel::handleKey(const Key &key)
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

void PlaylistPickerScreenModel::select(qint64 id)
{
    Prefs *prefs = app()->prefs();
    const qint64 previous = prefs->selectedPlaylistId();
    prefs->setSelectedPlaylistId(id);
    app()->announceActivePlaylist();
    if (id != previous)
        deps().playback->stop();
    app()->replace(Routes::Home {});
}

void PlaylistPickerScreenModel::setFocus(int focus)
{
    if (m_focus == focus)
        return;
    m_focus = focus;
    emit focusChanged();
}
