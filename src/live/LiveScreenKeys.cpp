#include "LiveScreenModel.h"

#include "playback/PlayerEngine.h"

namespace {

// Home and End move by this many rows: to the first or last.
constexpr int kEdgeStep = 100000;
constexpr int kPageStep = 10;

} // namespace

bool LiveScreenModel::moveKey(int step)
{
    m_lists.move(step);
    sync();
    return true;
}

bool LiveScreenModel::handleKey(const Key &key)
{
    if (!m_lists.hasSection())
        return false;
    const bool channelPane = m_lists.pane == LiveLists::kChannelPane;
    switch (key.kind) {
    case Key::Kind::up:
        return moveKey(-1);
    case Key::Kind::down:
        return moveKey(1);
    case Key::Kind::pageUp:
        return moveKey(-kPageStep);
    case Key::Kind::pageDown:
        return moveKey(kPageStep);
    case Key::Kind::home:
        return moveKey(-kEdgeStep);
    case Key::Kind::end:
        return moveKey(kEdgeStep);
    case Key::Kind::left:
        if (channelPane) {
            m_lists.pane = LiveLists::kCategoryPane;
            const QList<CategoryEntry> &categories = m_lists.categories();
            m_lists.catScrollTarget = m_lists.catFocus >= 0 && m_lists.catFocus < categories.size()
                ? std::optional(categories[m_lists.catFocus].id)
                : std::nullopt;
            sync();
        }
        return true;
    case Key::Kind::right:
        if (!channelPane) {
            m_lists.pane = LiveLists::kChannelPane;
            if (m_lists.chanFocus == -1 && m_lists.count() > 0)
                m_lists.chanFocus = 0;
            sync();
        }
        return true;
    case Key::Kind::tab:
        m_lists.pane = channelPane ? LiveLists::kCategoryPane : LiveLists::kChannelPane;
        sync();
        return true;
    case Key::Kind::enter:
        if (channelPane) {
            activate(m_lists.chanFocus);
        } else {
            m_lists.pane = LiveLists::kChannelPane;
            if (m_lists.count() > 0)
                m_lists.chanFocus = std::max(m_lists.chanFocus, 0);
            sync();
        }
        return true;
    case Key::Kind::space:
        if (!m_engine->hasItem())
            return false;
        m_engine->togglePause();
        return true;
    case Key::Kind::character:
        if (key.text == u"c") {
            if (m_preview && m_preview->catchup)
                openCatchUp(MediaItem(*m_preview));
            return true;
        }
        if (key.text == u"h") {
            toggleFavoriteAt(m_lists.chanFocus);
            return true;
        }
        return false;
    case Key::Kind::esc:
        return false;
    }
    return false;
}
