#pragma once

#include "BrowseIndex.h"
#include "app/RouteScreen.h"
#include "kit/CategoryColumnModel.h"
#include "kit/ContentListModel.h"

#include <QtQml/qqmlregistration.h>

#include <QCoroTask>

#include <memory>

// The movie or series browser: a category pane and a poster grid of the chosen category,
// narrowed by a filter and ordered by name on request. Keys work in two panes: the
// category pane (0) and the grid (1). The grid shows the section's items through the
// list model; a category, filter, sort or favourites change only replaces its rows.
class BrowseScreenModel : public RouteScreen {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the route table")
    Q_PROPERTY(int state READ state NOTIFY stateChanged)
    Q_PROPERTY(QString error READ error NOTIFY stateChanged)
    Q_PROPERTY(QString title READ title CONSTANT)
    Q_PROPERTY(bool hasPlaylist READ hasPlaylist NOTIFY playlistChanged)
    Q_PROPERTY(QString playlistName READ playlistName NOTIFY playlistChanged)
    Q_PROPERTY(CategoryColumnModel *categories READ categories CONSTANT)
    Q_PROPERTY(QString selectedCat READ selectedCat NOTIFY rowsChanged)
    Q_PROPERTY(QString categoryName READ categoryName NOTIFY rowsChanged)
    Q_PROPERTY(QString countText READ countText NOTIFY rowsChanged)
    Q_PROPERTY(QString emptyIcon READ emptyIcon NOTIFY rowsChanged)
    Q_PROPERTY(QString emptyText READ emptyText NOTIFY rowsChanged)
    Q_PROPERTY(QString filter READ filter WRITE setFilter NOTIFY filterChanged)
    Q_PROPERTY(int sort READ sort WRITE setSort NOTIFY sortChanged)
    Q_PROPERTY(int pane READ pane NOTIFY focusChanged)
    Q_PROPERTY(int catFocus READ catFocus NOTIFY focusChanged)
    Q_PROPERTY(int focus READ focus NOTIFY focusChanged)
    Q_PROPERTY(int columns READ columns NOTIFY columnsChanged)
    Q_PROPERTY(ContentListModel *posters READ posters CONSTANT)

public:
    enum State { Loading = 0, Failed = 1, Loaded = 2 };
    Q_ENUM(State)

    BrowseScreenModel(ScreenDeps deps, RouteEntry entry, QObject *parent = nullptr);

    int state() const;
    QString error() const { return m_error.value_or(QString()); }
    QString title() const;
    bool hasPlaylist() const { return activePlaylist().has_value(); }
    QString playlistName() const;
    CategoryColumnModel *categories() { return &m_categories; }
    QString selectedCat() const { return m_selectedCat; }
    QString categoryName() const;
    QString countText() const;
    QString emptyIcon() const;
    QString emptyText() const;
    QString filter() const { return m_filter; }
    void setFilter(const QString &filter);
    int sort() const { return m_sort; }
    void setSort(int sort);
    int pane() const { return m_pane; }
    int catFocus() const { return m_catFocus; }
    int focus() const { return m_focus; }
    int columns() const { return m_columns; }
    ContentListModel *posters() const { return m_posters; }
    const QList<CategoryEntry> &categoryList() const { return m_categories.rows(); }

    bool handleKey(const Key &key) override;

    // The grid pane's width decides the column count the keys move by.
    Q_INVOKABLE void setGridWidth(qreal width);
    Q_INVOKABLE void selectCategory(int index);
    Q_INVOKABLE void open(int row);
    Q_INVOKABLE void toggleFavoriteAt(int row);
    Q_INVOKABLE void showSortDialog();
    Q_INVOKABLE void openSearch();
    Q_INVOKABLE void requestReload();

signals:
    void playlistChanged();
    void stateChanged();
    void rowsChanged();
    void filterChanged();
    void sortChanged();
    void focusChanged();
    void columnsChanged();
    // Requests to bring a poster or a category row to the middle of its pane.
    void scrollToPoster(int row);
    void scrollToCategory(int index);

private:
    void becameTop() override;
    QCoro::Task<> load(bool force);
    void rebuild();
    void showFavoriteBadges();
    void setSelectedCat(const QString &id);
    void setFocus(int pane, int catFocus, int focus);
    void scrollToFocus();
    bool categoryPaneKey(const Key &key);
    bool gridKey(const Key &key);
    QList<FavoriteEntry> screenFavorites() const;

    ContentType m_type = ContentType::movie;
    std::shared_ptr<const BrowseIndex> m_index;
    std::optional<QString> m_error;
    quint64 m_run = 0;
    // True from the start of the newest run until it ends.
    bool m_loading = false;
    QString m_selectedCat;
    QString m_filter;
    int m_sort = 0;
    // Same ids keep their rows: a favourite change redraws one count, the pane keeps its scroll.
    CategoryColumnModel m_categories;
    int m_pane = 1;
    int m_catFocus = 0;
    int m_focus = -1;
    int m_columns = 6;
    ContentListModel *m_posters;
};
