#include "CatchUpScreenModel.h"

bool CatchUpScreenModel::moveProgramme(int step)
{
    const int count = int(dayEntries().size());
    const int focus = std::clamp(std::max(m_focus, 0) + step, 0, std::max(count - 1, 0));
    setFocus(focus, focus < count);
    return true;
}

bool CatchUpScreenModel::handleKey(const Key &key)
{
    if (!hasPlaylist())
        return false;
    const bool programmes = m_pane == kProgrammePane;
    const int lastDay = int(m_days.days().size()) - 1;
    switch (key.kind) {
    case Key::Kind::up:
    case Key::Kind::down: {
        const int step = key.kind == Key::Kind::up ? -1 : 1;
        if (programmes)
            return moveProgramme(step);
        setDay(std::clamp(m_day + step, 0, lastDay));
        return true;
    }
    case Key::Kind::left:
        m_pane = kDayPane;
        refreshDays();
        emit focusChanged();
        return true;
    case Key::Kind::right:
    case Key::Kind::tab:
        m_pane = kProgrammePane;
        refreshDays();
        setFocus(std::max(m_focus, 0), false);
        return true;
    case Key::Kind::enter:
        if (programmes) {
            play(m_focus);
        } else {
            m_pane = kProgrammePane;
            refreshDays();
            emit focusChanged();
        }
        return true;
    default:
        return false;
    }
}
