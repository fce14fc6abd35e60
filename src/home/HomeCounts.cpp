#include "HomeScreenModel.h"

#include "app/AppState.h"
#include "app/ErrorMessages.h"
#include "app/ScreensAhead.h"
#include "kit/ScriptFonts.h"
#include "kit/SectionLookups.h"
#include "sources/AppError.h"
#include "sources/Catalog.h"

namespace {

// A refused or expired provider account: the other types would fail the same way.
bool stopsCounting(const std::exception_ptr &error)
{
    try {
        std::rethrow_exception(error);
    } catch (const AppError &appError) {
        return appError.kind() == AppError::Kind::xtreamAuth
            || appError.kind() == AppError::Kind::xtreamExpired;
    } catch (...) {
        return false;
    }
}

} // namespace

void HomeScreenModel::startCounts()
{
    const std::optional<Playlist> playlist = activePlaylist();
    if (!playlist || !app()->device())
        return;
    if (deps().ahead)
        deps().ahead->dropPrepared();
    m_countsPlaylist = playlist->id;
    loadCounts(++m_countsRun);
}

QCoro::Task<> HomeScreenModel::loadCounts(quint64 run)
{
    const QPointer<HomeScreenModel> self(this);
    const Playlist playlist = *activePlaylist();
    Catalog *catalog = deps().catalog;
    m_loadError.reset();
    m_failed.clear();
    emit countsChanged();

    std::set<ContentType> counted;
    std::exception_ptr firstError;
    for (const ContentType type : kAllContentTypes) {
        // Movies and series are fetched again only after the reload action reset the catalog.
        const bool force = type == ContentType::live && m_reload > 0;
        SectionPtr section;
        std::exception_ptr error;
        try {
            section = co_await catalog->load(playlist, type, force);
        } catch (...) {
            error = std::current_exception();
        }
        // A newer run or a screen that is gone takes over silently.
        if (!self || !isCurrentRun(run))
            co_return;
        if (error) {
            if (isCancellation(error))
                co_return;
            if (!firstError)
                firstError = error;
            if (stopsCounting(error))
                break;
            continue;
        }
        m_counts[type] = section->all.size();
        // Live TV then opens at once: its channels' lookups made, their fonts found and
        // the screen itself made and drawn once.
        if (type == ContentType::live) {
            SectionLookups::prepare(section);
            warmScriptFonts(section);
            if (deps().ahead)
                deps().ahead->prepare(Routes::Live {});
        }
        counted.insert(type);
        if (!m_iptvExp) {
            const std::optional<XtreamAccount> account = catalog->account(playlist);
            m_iptvExp = account ? account->exp : std::nullopt;
            if (m_iptvExp)
                emit statusChanged();
        }
        emit countsChanged();
    }
    for (const ContentType type : kAllContentTypes) {
        if (!counted.contains(type))
            m_failed.insert(type);
    }
    if (counted.empty() && firstError)
        m_loadError = userMessage(firstError);
    emit countsChanged();
    emit countsLoaded();
}
