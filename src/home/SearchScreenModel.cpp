#include "SearchScreenModel.h"

#include "ContentOpener.h"
#include "app/AppState.h"
#include "app/Localization.h"
#include "app/Prefs.h"
#include "kit/PicturePlaceholder.h"
#include "kit/ScriptFonts.h"
#include "kit/Theme.h"
#include "model/ContentKeys.h"
#include "sources/AppClock.h"
#include "sources/Catalog.h"
#include "sources/M3uText.h"

#include <QPointer>
#include <QQmlEngine>
#include <QtConcurrent/QtConcurrentRun>

#include <QCoroFuture>

namespace {

size_t slot(ContentType type)
{
    return size_t(type);
}

// The fonts of the result cards: their names as ChannelTile and PosterCard set them (Text
// rounds point sizes to halves) and their placeholders' initials.
QList<QFont> cardFonts()
{
    QFont channel(Theme::fontFamily());
    channel.setPointSizeF(qRound(Theme::pointSize(12.5) * 2) / 2.0);
    channel.setWeight(QFont::DemiBold);
    QFont poster(Theme::fontFamily());
    poster.setPixelSize(13);
    poster.setWeight(QFont::DemiBold);
    return { channel, poster, PicturePlaceholder::initialsFont(18), PicturePlaceholder::initialsFont(26) };
}

} // namespace

SearchScreenModel::SearchScreenModel(ScreenDeps deps, RouteEntry entry, QObject *parent)
    : RouteScreen(std::move(deps), std::move(entry), parent)
    , m_fontWarmer(std::make_unique<FontWarmer>(cardFonts()))
{
    for (ContentListModel *&model : m_results) {
        model = new ContentListModel(this);
        // Handed to the view by results(); it stays this screen's.
        QQmlEngine::setObjectOwnership(model, QQmlEngine::CppOwnership);
    }
    connect(app(), &AppState::deviceChanged, this, &SearchScreenModel::playlistChanged);
    connect(app()->prefs(), &Prefs::favoritesChanged, this, &SearchScreenModel::markFavorites);
    markFavorites();
}

void SearchScreenModel::markFavorites()
{
    const QSet<QString> keys = favoriteKeys(app()->prefs()->favorites());
    for (ContentListModel *model : m_results)
        model->setFavoriteKeys(keys);
}

SearchScreenModel::~SearchScreenModel() = default;

bool SearchScreenModel::hasPlaylist() const
{
    return activePlaylist().has_value();
}

void SearchScreenModel::setQuery(const QString &query)
{
    if (query == m_query)
        return;
    m_query = query;
    emit queryChanged();
    runSearch();
    setFocus(-1, m_focusCol);
}

QString SearchScreenModel::content() const
{
    if (M3uText::trimmedSpacesAndTabs(m_query).size() < kMinQueryLength)
        return QStringLiteral("hint");
    return !visibleRows().isEmpty() || m_loading ? QStringLiteral("results") : QStringLiteral("empty");
}

QList<ContentType> SearchScreenModel::visibleRows() const
{
    QList<ContentType> rows;
    for (ContentType type : kAllContentTypes) {
        if (m_results[slot(type)]->count() > 0)
            rows.append(type);
    }
    return rows;
}

QVariantList SearchScreenModel::visibleRowsList() const
{
    QVariantList rows;
    for (ContentType type : visibleRows())
        rows.append(int(type));
    return rows;
}

void SearchScreenModel::setFieldFocused(bool focused)
{
    if (focused == m_fieldFocused)
        return;
    m_fieldFocused = focused;
    emit fieldFocusedChanged();
}

ContentListModel *SearchScreenModel::results(int type) const
{
    return type >= 0 && type < int(m_results.size()) ? m_results[size_t(type)] : nullptr;
}

QString SearchScreenModel::rowTitle(int type)
{
    switch (ContentType(type)) {
    case ContentType::live:
        return ::tr(QStringLiteral("channels"));
    case ContentType::movie:
        return ::tr(QStringLiteral("movies"));
    case ContentType::series:
        return ::tr(QStringLiteral("series"));
    }
    return {};
}

void SearchScreenModel::runSearch()
{
    const QStringView query = M3uText::trimmedSpacesAndTabs(m_query);
    const QString folded = query.size() >= kMinQueryLength ? FoldedNames::fold(query) : QString();
    for (ContentType type : kAllContentTypes) {
        const std::optional<LoadedSection> &loaded = m_sections[slot(type)];
        std::vector<qint32> rows;
        if (loaded && !folded.isEmpty())
            rows = loaded->lookups->names.find(folded, kMaxMatches);
        m_results[slot(type)]->updateRows(std::move(rows));
    }
    showFocus();
    if (const QList<ContentType> rows = visibleRows(); rows != m_shownRows) {
        m_shownRows = rows;
        emit visibleRowsChanged();
    }
    emit resultsChanged();
}

void SearchScreenModel::becameTop()
{
    m_fieldFocusTimer = deps().clock->after(kFieldFocusDelayMs, [this] { setFieldFocused(true); });
    const std::optional<Playlist> playlist = activePlaylist();
    if (playlist)
        loadSections(*playlist, ++m_pass);
}

QCoro::Task<> SearchScreenModel::loadSections(Playlist playlist, quint64 pass)
{
    const QPointer<SearchScreenModel> self(this);
    for (ContentType type : kAllContentTypes) {
        SectionPtr section;
        try {
            section = co_await deps().catalog->load(playlist, type, false);
        } catch (...) {
            // A section that cannot be loaded is left out of the search, without a message.
        }
        if (!self || m_pass != pass)
            co_return;
        std::optional<LoadedSection> &held = m_sections[slot(type)];
        if (section && (!held || held->section != section)) {
            SectionLookupsPtr lookups = co_await SectionLookups::of(section);
            if (!self || m_pass != pass)
                co_return;
            held = LoadedSection { section, std::move(lookups) };
            warmCardFonts(section);
            m_results[slot(type)]->setItems(ContentListModel::itemsOf(section), playlist.id);
            // Nothing of the new section shows before the search below.
            m_results[slot(type)]->setRows({});
        }
        if (section)
            runSearch();
    }
    if (std::exchange(m_loading, false))
        emit loadingChanged();
    emit resultsChanged();
}

QCoro::Task<> SearchScreenModel::warmCardFonts(SectionPtr section)
{
    const QPointer<SearchScreenModel> self(this);
    const QString samples = co_await QtConcurrent::run([section] { return scriptSamples(section->all); });
    // The first results in other scripts then show without looking their fonts up.
    if (self)
        m_fontWarmer->add(samples);
}

qsizetype SearchScreenModel::lastIndexOf(ContentType type) const
{
    return m_results[slot(type)]->count() - 1;
}

bool SearchScreenModel::handleKey(const Key &key)
{
    const QList<ContentType> rows = visibleRows();
    const bool onRow = m_focusRow >= 0 && m_focusRow < rows.size();
    switch (key.kind) {
    case Key::Kind::up:
        if (m_focusRow < 1) {
            setFocus(-1, m_focusCol);
            setFieldFocused(true);
        } else if (m_focusRow - 1 < rows.size()) {
            // Like Down, the column is kept inside the row it lands on.
            setFocus(m_focusRow - 1, int(qMin<qsizetype>(m_focusCol, lastIndexOf(rows[m_focusRow - 1]))));
        }
        return true;
    case Key::Kind::down:
        if (m_focusRow < rows.size() - 1) {
            setFocus(m_focusRow + 1, int(qMin<qsizetype>(m_focusCol, lastIndexOf(rows[m_focusRow + 1]))));
            setFieldFocused(false);
        }
        return true;
    case Key::Kind::left:
        if (m_focusRow < 0)
            return false;
        setFocus(m_focusRow, qMax(m_focusCol - 1, 0));
        return true;
    case Key::Kind::right:
        if (m_focusRow < 0)
            return false;
        if (onRow)
            setFocus(m_focusRow, int(qMin<qsizetype>(m_focusCol + 1, lastIndexOf(rows[m_focusRow]))));
        return true;
    case Key::Kind::enter:
        openFocusedOrFirst();
        return true;
    default:
        return false;
    }
}

void SearchScreenModel::openFocusedOrFirst()
{
    const QList<ContentType> rows = visibleRows();
    if (m_focusRow >= 0 && m_focusRow < rows.size() && m_focusCol >= 0
        && m_focusCol <= lastIndexOf(rows[m_focusRow]))
        open(int(rows[m_focusRow]), m_focusCol);
    else if (!rows.isEmpty())
        open(int(rows.first()), 0);
}

void SearchScreenModel::open(int type, int index)
{
    const ContentListModel *model = results(type);
    const std::optional<Playlist> playlist = activePlaylist();
    const std::optional<MediaItem> item = model ? model->itemAt(index) : std::nullopt;
    if (!item || !playlist)
        return;
    openContent(*app(), *playlist, std::make_shared<const MediaItems>(MediaItems { *item }), 0);
}

void SearchScreenModel::setFocus(int row, int col)
{
    const bool colChanged = col != m_focusCol;
    if (row == m_focusRow && !colChanged)
        return;
    m_focusRow = row;
    m_focusCol = col;
    showFocus();
    emit focusChanged();
    const QList<ContentType> rows = visibleRows();
    if (colChanged && row >= 0 && row < rows.size())
        emit scrollRequested(int(rows[row]), col);
}

void SearchScreenModel::showFocus()
{
    const QList<ContentType> rows = visibleRows();
    for (ContentType type : kAllContentTypes) {
        const bool focusedRow = m_focusRow >= 0 && m_focusRow < rows.size() && rows[m_focusRow] == type;
        m_results[slot(type)]->setFocusedRow(focusedRow ? m_focusCol : -1);
    }
}
