#pragma once

#include "app/AppState.h"
#include "app/KeyHandler.h"
#include "app/Routes.h"
#include "model/Records.h"
#include "sources/Catalog.h"

#include <QPointer>
#include <QString>
#include <QtQml/qqmlregistration.h>

#include <optional>

class Prefs;

// What the movie and series screens stand on: the shared state, the catalog, the route
// entry the screen was made for, and the actions every one of them offers (back, a
// favourite toggle with its toast, opening the player).
class VodScreen : public KeyHandler {
    Q_OBJECT
    QML_ANONYMOUS
    Q_PROPERTY(QString entryId READ entryId WRITE setEntryId NOTIFY entryChanged)
    Q_PROPERTY(bool hasPlaylist READ hasPlaylist NOTIFY entryChanged)

public:
    VodScreen(AppState *app, KeyRouter *router, Catalog *catalog, QObject *parent = nullptr);

    QString entryId() const { return m_entryId; }
    // The stack entry whose screen this is (its id as text); reads the route's payload.
    void setEntryId(const QString &entryId);
    bool hasPlaylist() const { return activePlaylist().has_value(); }

    Q_INVOKABLE void back();

protected:
    // Called once the entry's route is known.
    virtual void routeChanged(const Route &route) = 0;
    // Called each time the screen comes into view (turns active) with its route known.
    virtual void appeared() = 0;

    AppState *app() const { return m_app; }
    Prefs *prefs() const;
    Catalog *catalog() const { return m_catalog; }
    std::optional<Playlist> activePlaylist() const;
    // True while this screen's entry is the top of the stack.
    bool isTopEntry() const;

    // Toggles the item as a favourite of the active playlist and says so in a toast.
    void toggleFavorite(const MediaItem &item);
    // Pushes the player over this screen; ignored unless this screen is on top, so a
    // second request (a quick second Enter or click) never stacks a second player.
    bool openPlayer(PlayQueue queue);
    // Pushes a route over this screen when it is on top.
    bool openRoute(Route route);

signals:
    void entryChanged();

private:
    QPointer<AppState> m_app;
    QPointer<Catalog> m_catalog;
    QString m_entryId;
    QUuid m_entry;
    bool m_hasRoute = false;
};
