#pragma once

#include "AppState.h"
#include "KeyHandler.h"

#include <QPointer>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

class PlaybackControl;

// The choice of the device playlist in use: one card per playlist of the device record,
// the saved one marked. Choosing saves its id, stops playback when the choice changed and
// re-roots the application at home.
class PlaylistPickerScreen : public KeyHandler {
    Q_OBJECT
    QML_NAMED_ELEMENT(PlaylistPickerScreenModel)
    Q_PROPERTY(int focus READ focus NOTIFY focusChanged)
    Q_PROPERTY(bool canGoBack READ canGoBack NOTIFY stackChanged)
    // One map per card: id, title, subtitle, saved.
    Q_PROPERTY(QVariantList cards READ cards NOTIFY cardsChanged)

public:
    // The shared state and engine (PlaybackControl::shared() as installed by main).
    explicit PlaylistPickerScreen(QObject *parent = nullptr);
    PlaylistPickerScreen(AppState *app, KeyRouter *router, PlaybackControl *playback, QObject *parent = nullptr);

    int focus() const { return m_focus; }
    bool canGoBack() const;
    QList<Playlist> playlists() const;
    QVariantList cards() const;

    bool handleKey(const Key &key) override;

    Q_INVOKABLE void select(qint64 id);
    Q_INVOKABLE void back();

signals:
    void focusChanged();
    void stackChanged();
    void cardsChanged();

private:
    int savedIndex() const;
    void setFocus(int focus);

    QPointer<AppState> m_app;
    PlaybackControl *m_playback;
    int m_focus = 0;
};
