#pragma once

#include "kit/SectionLookups.h"
#include "app/RouteScreen.h"
#include "kit/ContentListModel.h"
#include "model/Records.h"

#include <QString>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

#include <QCoroTask>

#include <array>
#include <memory>
#include <optional>

class AppTimer;
class FontWarmer;

// Searches the names of every channel, movie and series of the active playlist as the query
// is typed, one row of results per content type (channels, movies, series, those with
// matches), and opens what is chosen. Names are folded once per section as it arrives, on a
// worker thread; each search then scans the folded text of every loaded section.
class SearchScreenModel : public RouteScreen {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the route table")
    Q_PROPERTY(bool hasPlaylist READ hasPlaylist NOTIFY playlistChanged)
    Q_PROPERTY(QString query READ query WRITE setQuery NOTIFY queryChanged)
    Q_PROPERTY(bool loading READ loading NOTIFY loadingChanged)
    // "hint" (query too short), "results" or "empty" (nothing found once loading ended).
    Q_PROPERTY(QString content READ content NOTIFY resultsChanged)
    // The content types (ContentType as int) that have results, in row order.
    Q_PROPERTY(QVariantList visibleRows READ visibleRowsList NOTIFY visibleRowsChanged)
    Q_PROPERTY(int focusRow READ focusRow NOTIFY focusChanged)
    Q_PROPERTY(int focusCol READ focusCol NOTIFY focusChanged)
    Q_PROPERTY(bool fieldFocused READ fieldFocused WRITE setFieldFocused NOTIFY fieldFocusedChanged)

public:
    static constexpr qsizetype kMinQueryLength = 2;
    static constexpr qsizetype kMaxMatches = 60;
    static constexpr qint64 kFieldFocusDelayMs = 150;

    SearchScreenModel(ScreenDeps deps, RouteEntry entry, QObject *parent = nullptr);
    ~SearchScreenModel() override;

    bool hasPlaylist() const;
    QString query() const { return m_query; }
    void setQuery(const QString &query);
    bool loading() const { return m_loading; }
    QString content() const;
    QList<ContentType> visibleRows() const;
    QVariantList visibleRowsList() const;
    int focusRow() const { return m_focusRow; }
    int focusCol() const { return m_focusCol; }
    bool fieldFocused() const { return m_fieldFocused; }
    void setFieldFocused(bool focused);

    // The results of one content type (ContentType as int), shared with its section.
    Q_INVOKABLE ContentListModel *results(int type) const;
    // The heading of a result row.
    Q_INVOKABLE static QString rowTitle(int type);

    // Recomputes every type's results from the query and the sections loaded so far.
    void runSearch();
    bool handleKey(const Key &key) override;
    Q_INVOKABLE void open(int type, int index);
    Q_INVOKABLE void clearQuery() { setQuery(QString()); }

signals:
    void playlistChanged();
    void queryChanged();
    void loadingChanged();
    void resultsChanged();
    void visibleRowsChanged();
    void focusChanged();
    void fieldFocusedChanged();
    // The card of that row's type to bring to the middle of its row.
    void scrollRequested(int type, int index);

private:
    struct LoadedSection {
        SectionPtr section;
        SectionLookupsPtr lookups;
    };

    // The three sections again (from the catalog's memory when held), and the field
    // focused shortly after.
    void becameTop() override;
    QCoro::Task<> loadSections(Playlist playlist, quint64 pass);
    QCoro::Task<> warmCardFonts(SectionPtr section);
    void markFavorites();
    void setFocus(int row, int col);
    void showFocus();
    qsizetype lastIndexOf(ContentType type) const;
    void openFocusedOrFirst();

    std::unique_ptr<AppTimer> m_fieldFocusTimer;
    // Finds the fallback fonts of the sections' scripts before the first results show them.
    std::unique_ptr<FontWarmer> m_fontWarmer;
    QString m_query;
    bool m_loading = true;
    quint64 m_pass = 0;
    std::array<std::optional<LoadedSection>, 3> m_sections;
    std::array<ContentListModel *, 3> m_results {};
    // The rows last announced, so the view rebuilds its rows only when they change.
    QList<ContentType> m_shownRows;
    int m_focusRow = -1;
    int m_focusCol = 0;
    bool m_fieldFocused = false;
};
