#pragma once

#include "AppState.h"
#include "RouteScreen.h"

#include <QVariantList>
#include <QtQml/qqmlregistration.h>

// The choice of the device playlist in use: one card per playlist of the device record,
// the saved one marked. Choosing saves its id, stops playback when the choice changed and
// re-roots the application at home.
class PlaylistPickerScreenModel : public RouteScreen {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the route table")
    Q_PROPERTY(int focus READ focus NOTIFY focusChanged)
    // One map per card: id, title, subtitle, saved.
    Q_PROPERTY(QVariantList cards READ cards NOTIFY cardsChanged)

public:
    PlaylistPickerScreenModel(ScreenDeps deps, RouteEntry entry, QObject *parent = nullptr);

    int focus() const { return m_focus; }
    QList<Playlist> playlists() const;
    QVariantList cards() const;

    bool handleKey(const Key &key) override;

    Q_INVOKABLE void select(qint64 id);

signals:
    void focusChanged();
    void cardsChanged();

private:
    int savedIndex() const;
    void setFocus(int focus);

    int m_focus = 0;
};
