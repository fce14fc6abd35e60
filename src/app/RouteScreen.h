#pragma once

#include "KeyHandler.h"
#include "Routes.h"
#include "ScreenDeps.h"
#include "model/Records.h"

#include <QtQml/qqmlregistration.h>

#include <optional>

class Prefs;

// Base of every screen's view-model: made by the route table for one route entry, with its
// payload, before its view exists, and alive exactly as long as that entry's screen. Its
// layer alone reports what it shows (layerChanged); the base turns that into `active` (the
// keys, while shown on top) and into the hooks below: shown once, becameTop and covered as
// other screens come and go, then removed once, after which no hook runs.
class RouteScreen : public KeyHandler {
    Q_OBJECT
    QML_ANONYMOUS
    Q_PROPERTY(bool canGoBack READ canGoBack NOTIFY stackChanged)
    Q_PROPERTY(bool isTop READ isTop NOTIFY stackChanged)

public:
    RouteScreen(ScreenDeps deps, RouteEntry entry, QObject *parent = nullptr);

    const RouteEntry &entry() const { return m_entry; }
    // The entry's payload when its route is that case.
    template <typename Case> const Case *payload() const { return std::get_if<Case>(&m_entry.route); }

    // There is an entry under the top one to go back to.
    bool canGoBack() const;
    // This screen's entry is the top of the stack.
    bool isTop() const;
    // This screen's entry is still on the stack.
    bool isOnStack() const;
    // Leaves the top screen.
    Q_INVOKABLE void back();

    // Called by the screen's layer whenever what it shows may have changed: when the screen
    // is made, when its view is, when it comes on top or leaves the top, and after every
    // change of the stack. `viewMade`: the view exists; `onTop`: it is shown on top.
    Q_INVOKABLE void layerChanged(bool viewMade, bool onTop);

    // A screen made ahead of its entry takes the pushed entry of its route.
    void takeEntry(const RouteEntry &entry);
    // What the screen shows first is there; one made ahead is drawn once it is.
    virtual bool contentReady() const { return true; }

protected:
    // The view was made and is shown for the first time.
    virtual void shown() { }
    // The screen came on top: when it was made or uncovered.
    virtual void becameTop() { }
    // Another screen came over it.
    virtual void covered() { }
    // Its entry left the stack; no hook follows.
    virtual void removed() { }
    // The focus to give back to the screen a language change builds anew for this entry;
    // empty for none.
    virtual QString focusToKeep() const { return {}; }
    // What the entry's earlier screen kept when a language change built this one; else empty.
    const QString &keptFocus() const { return m_keptFocus; }
    // A layer has shown it: the screen was opened, not only made ahead.
    bool wasOpened() const { return m_opened; }

    const ScreenDeps &deps() const { return m_deps; }
    AppState *app() const { return m_deps.app; }
    // The application's settings.
    Prefs *prefs() const;
    // The device playlist in use; nothing without one.
    std::optional<Playlist> activePlaylist() const;
    // Pushes `route` over this screen while it is the top entry, so a second request (a
    // quick second Enter or click) never stacks a second screen.
    bool openRoute(Route route);
    // Pushes the player over this screen, on the same terms as openRoute.
    bool openPlayer(PlayQueue queue);
    // Toggles the item as a favourite of the active playlist and says so in a toast.
    void toggleFavorite(const MediaItem &item);

signals:
    void stackChanged();
    void contentReadyChanged();

private:
    ScreenDeps m_deps;
    RouteEntry m_entry;
    QString m_keptFocus;
    bool m_opened = false;
    bool m_viewShown = false;
    bool m_removed = false;
};
