#pragma once

#include "EpisodeListModel.h"
#include "app/RouteScreen.h"
#include "sources/CancelToken.h"

#include <QVariantList>
#include <QtQml/qqmlregistration.h>

#include <QCoroTask>

// One series: poster, title, meta chips, plot, cast and the favourite button, a chip per
// season and the chosen season's episodes with their resume progress. Enter or a click
// on an episode plays the whole season from that episode.
class SeriesDetailsScreenModel : public RouteScreen {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the route table")
    Q_PROPERTY(int state READ state NOTIFY infoChanged)
    Q_PROPERTY(QString error READ error NOTIFY infoChanged)
    Q_PROPERTY(QString title READ title CONSTANT)
    Q_PROPERTY(bool hasPlaylist READ hasPlaylist NOTIFY playlistChanged)
    Q_PROPERTY(QString posterUrl READ posterUrl NOTIFY infoChanged)
    Q_PROPERTY(QString backdropUrl READ backdropUrl NOTIFY infoChanged)
    Q_PROPERTY(QVariantList chips READ chips NOTIFY infoChanged)
    Q_PROPERTY(QString plot READ plot NOTIFY infoChanged)
    Q_PROPERTY(QString cast READ cast NOTIFY infoChanged)
    Q_PROPERTY(bool favorite READ favorite NOTIFY favoriteChanged)
    // One map per season: title, count, selected.
    Q_PROPERTY(QVariantList seasons READ seasons NOTIFY seasonChanged)
    Q_PROPERTY(int season READ season NOTIFY seasonChanged)
    // The episodes of the chosen season.
    Q_PROPERTY(EpisodeListModel *episodes READ episodes CONSTANT)
    Q_PROPERTY(int focus READ focus NOTIFY focusChanged)

public:
    enum State { Loading = 0, Failed = 1, Empty = 2, Loaded = 3 };
    Q_ENUM(State)

    SeriesDetailsScreenModel(ScreenDeps deps, RouteEntry entry, QObject *parent = nullptr);

    int state() const;
    QString error() const { return m_error.value_or(QString()); }
    QString title() const { return m_item.name; }
    bool hasPlaylist() const { return activePlaylist().has_value(); }
    QString posterUrl() const;
    QString backdropUrl() const;
    QVariantList chips() const;
    QString plot() const;
    QString cast() const;
    bool favorite() const;
    QList<qint64> seasonNumbers() const;
    QVariantList seasons() const;
    int season() const { return m_season; }
    QList<Episode> shownEpisodes() const;
    EpisodeListModel *episodes() { return &m_episodes; }
    int focus() const { return m_focus; }

    bool handleKey(const Key &key) override;

    Q_INVOKABLE void selectSeason(int index);
    // The action of the episode row at `index`: focus it, then play its season from it.
    Q_INVOKABLE void play(int index);
    Q_INVOKABLE void toggleFavorite();

signals:
    void playlistChanged();
    void infoChanged();
    void favoriteChanged();
    void seasonChanged();
    void focusChanged();
    // Brings the episode row at `index` to the middle of the list.
    void scrollToEpisode(int index);

private:
    void becameTop() override;
    QCoro::Task<> load();
    void playSeason(const QList<Episode> &episodes, int start);
    QString seriesKey() const;
    void setSeason(int season);
    void setFocus(int focus);
    // The chosen season's rows with the resume points as stored now.
    void showEpisodes();

    MediaItem m_item;
    // Requests still running when the screen goes are aborted.
    CancelSource m_requests;
    std::optional<SeriesInfo> m_info;
    std::optional<QString> m_error;
    int m_season = 0;
    int m_focus = 0;
    EpisodeListModel m_episodes;
};
