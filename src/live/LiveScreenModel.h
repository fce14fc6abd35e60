#pragma once

#include "LiveLists.h"
#include "PreviewGuide.h"
#include "app/RouteScreen.h"
#include "kit/CategoryColumnModel.h"
#include "kit/ContentListModel.h"
#include "model/Records.h"
#include "playback/PlayerEngine.h"

#include <QPointer>
#include <QString>
#include <QtQml/qqmlregistration.h>

#include <QCoroTask>

#include <optional>

class AppState;
class Catalog;
class Prefs;

// The live TV screen: loads the live section, keeps the category and channel lists, previews
// channels through the one engine with their short guide, opens the full-screen player
// over the listed channels and the catch-up screen, and answers the keyboard.
class LiveScreenModel : public RouteScreen {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the route table")
    Q_PROPERTY(bool hasPlaylist READ hasPlaylist CONSTANT)
    Q_PROPERTY(QString playlistName READ playlistName CONSTANT)
    Q_PROPERTY(bool loaded READ loaded NOTIFY stateChanged)
    Q_PROPERTY(QString error READ error NOTIFY stateChanged)
    Q_PROPERTY(int pane READ pane NOTIFY stateChanged)
    Q_PROPERTY(QString filter READ filter WRITE setFilter NOTIFY stateChanged)
    Q_PROPERTY(QString selectedName READ selectedName NOTIFY stateChanged)
    Q_PROPERTY(QString itemsText READ itemsText NOTIFY stateChanged)
    Q_PROPERTY(bool favoritesSelected READ favoritesSelected NOTIFY stateChanged)
    Q_PROPERTY(ContentListModel *channels READ channels CONSTANT)
    Q_PROPERTY(CategoryColumnModel *categories READ categories CONSTANT)
    Q_PROPERTY(PreviewGuide *guide READ guide CONSTANT)
    Q_PROPERTY(PlayerEngine *engine READ engine CONSTANT)
    Q_PROPERTY(int aspectMode READ aspectMode NOTIFY aspectModeChanged)
    Q_PROPERTY(bool hasPreview READ hasPreview NOTIFY previewChanged)
    Q_PROPERTY(QString previewName READ previewName NOTIFY previewChanged)
    Q_PROPERTY(QString previewLogo READ previewLogo NOTIFY previewChanged)
    Q_PROPERTY(QString previewNumber READ previewNumber NOTIFY previewChanged)
    Q_PROPERTY(QString previewArchive READ previewArchive NOTIFY previewChanged)
    Q_PROPERTY(bool previewFavorite READ previewFavorite NOTIFY previewChanged)

public:
    LiveScreenModel(ScreenDeps deps, RouteEntry entry, QObject *parent = nullptr);
    // Leaving the screen ends playback; one only made ahead leaves it alone.
    ~LiveScreenModel() override;

    bool contentReady() const override { return loaded(); }

    bool hasPlaylist() const { return m_playlist.has_value(); }
    QString playlistName() const { return m_playlist ? m_playlist->name : QString(); }
    bool loaded() const { return m_lists.hasSection(); }
    QString error() const { return m_error.value_or(QString()); }
    int pane() const { return m_lists.pane; }
    QString filter() const { return m_lists.filter(); }
    void setFilter(const QString &filter);
    QString selectedName() const;
    QString itemsText() const;
    bool favoritesSelected() const;
    ContentListModel *channels() { return &m_channels; }
    CategoryColumnModel *categories() { return &m_categories; }
    PreviewGuide *guide() { return &m_guide; }
    PlayerEngine *engine() const { return m_engine; }
    int aspectMode() const;
    bool hasPreview() const { return m_preview.has_value(); }
    QString previewName() const;
    QString previewLogo() const;
    QString previewNumber() const;
    QString previewArchive() const;
    bool previewFavorite() const;

    const LiveLists &lists() const { return m_lists; }
    const std::optional<MediaItem> &preview() const { return m_preview; }

    Q_INVOKABLE void requestReload();
    Q_INVOKABLE void openSearch();
    Q_INVOKABLE void selectCategory(int index);
    Q_INVOKABLE void clickChannel(int index);
    Q_INVOKABLE void doubleClickChannel(int index);
    // Previews the channel, or opens it full screen when it is already previewed and playing.
    Q_INVOKABLE void activate(int index);
    Q_INVOKABLE void openFullScreen(int index);
    Q_INVOKABLE void toggleFavoriteAt(int index);
    Q_INVOKABLE void openCatchUpAt(int index);
    Q_INVOKABLE void openPreviewFullScreen();
    Q_INVOKABLE void previewCatchUp();
    Q_INVOKABLE void previewToggleFavorite();

    bool handleKey(const Key &key) override;

signals:
    void stateChanged();
    void previewChanged();
    void aspectModeChanged();
    // The channel list scrolls this row to its centre.
    void channelScrollRequested(int row);
    // The category column scrolls this row to its centre.
    void categoryScrollRequested(int row);

private:
    QCoro::Task<> load();
    void applySection(ChannelIndexPtr index);
    void sync();
    void setError(std::optional<QString> error);
    void setPreview(std::optional<MediaItem> channel);
    void playPreview();
    void openCatchUp(const MediaItem &channel);
    // Without an active playlist the app starts over.
    void shown() override;
    void becameTop() override;
    void followPlaying(const QString &key);
    void showPlayingKey();
    bool moveKey(int step);
    QString keyOf(const MediaItem &channel) const { return m_lists.keyOf(channel); }

    Prefs *m_prefs;
    Catalog *m_catalog;
    QPointer<PlayerEngine> m_engine;
    std::optional<Playlist> m_playlist;
    LiveLists m_lists;
    ContentListModel m_channels;
    CategoryColumnModel m_categories;
    PreviewGuide m_guide;
    std::optional<QString> m_error;
    std::optional<MediaItem> m_preview;
    int m_reload = 0;
    quint64 m_loadRun = 0;
    quint64 m_shownRows = 0;
    quint64 m_shownCategories = 0;
    std::optional<QString> m_scrolledCategory;
};
