#pragma once

#include "app/RouteScreen.h"
#include "sources/CancelToken.h"

#include <QVariantList>
#include <QtQml/qqmlregistration.h>

#include <QCoroTask>

// One movie: poster, title, meta chips, plot, director and cast from the catalog's
// details, and the buttons play (or resume), from the start (only with a resume point)
// and favourite. Button ids: 0 play or resume, 1 from the start, 2 favourite.
class MovieDetailsScreenModel : public RouteScreen {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the route table")
    Q_PROPERTY(QString title READ title CONSTANT)
    Q_PROPERTY(bool hasPlaylist READ hasPlaylist NOTIFY playlistChanged)
    Q_PROPERTY(QString posterUrl READ posterUrl NOTIFY infoChanged)
    Q_PROPERTY(bool hasBackdrop READ hasBackdrop NOTIFY infoChanged)
    Q_PROPERTY(QString backdropUrl READ backdropUrl NOTIFY infoChanged)
    Q_PROPERTY(QVariantList chips READ chips NOTIFY infoChanged)
    Q_PROPERTY(QString plot READ plot NOTIFY infoChanged)
    Q_PROPERTY(QString director READ director NOTIFY infoChanged)
    Q_PROPERTY(QString cast READ cast NOTIFY infoChanged)
    Q_PROPERTY(bool loaded READ loaded NOTIFY infoChanged)
    Q_PROPERTY(int focus READ focus NOTIFY buttonsChanged)
    // One map per shown button: id, title, icon, primary, focused.
    Q_PROPERTY(QVariantList buttons READ buttons NOTIFY buttonsChanged)

public:
    MovieDetailsScreenModel(ScreenDeps deps, RouteEntry entry, QObject *parent = nullptr);

    const MediaItem &item() const { return m_item; }
    QString title() const { return m_item.name; }
    bool hasPlaylist() const { return activePlaylist().has_value(); }
    QString posterUrl() const;
    bool hasBackdrop() const { return backdrop().has_value(); }
    QString backdropUrl() const { return backdrop().value_or(QString()); }
    QVariantList chips() const;
    QString plot() const;
    QString director() const;
    QString cast() const;
    bool loaded() const { return m_loaded; }
    int focus() const;
    QVariantList buttons() const;
    // The button ids in key order: play, from the start (with a resume point), favourite.
    QList<int> focusOrder() const;

    bool handleKey(const Key &key) override;

    // What a click or Enter on a button does.
    Q_INVOKABLE void press(int buttonId);
    void play(bool fromStart);

signals:
    void playlistChanged();
    void infoChanged();
    void buttonsChanged();

private:
    void becameTop() override;
    QCoro::Task<> load();
    OptText backdrop() const;
    QString movieKey() const;
    bool hasResume() const;
    void setFocus(int focus);

    MediaItem m_item;
    // Requests still running when the screen goes are aborted.
    CancelSource m_requests;
    std::optional<VodInfo> m_info;
    bool m_loaded = false;
    int m_focus = 0;
};
