#include "HomeFocus.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace HomeFocus {

namespace {

struct Named {
    Target target;
    const char *id;
};

constexpr Named kNames[] = { { Target::live, "live" }, { Target::movies, "movies" },
    { Target::series, "series" }, { Target::account, "account" }, { Target::playlist, "playlist" },
    { Target::search, "search" }, { Target::fav, "fav" }, { Target::reload, "reload" },
    { Target::settings, "settings" }, { Target::exit, "exit" } };

// Up, down, left, right of a tile; none stays, card stands for "the first card when there are
// cards, else stay".
std::optional<std::array<Target, 4>> tileMoves(Target tile)
{
    using enum Target;
    switch (tile) {
    case live:
        return std::array { none, card, none, movies };
    case movies:
        return std::array { none, account, live, series };
    case series:
        return std::array { none, playlist, movies, search };
    case account:
        return std::array { movies, card, live, playlist };
    case playlist:
        return std::array { series, card, account, reload };
    default:
        return std::nullopt;
    }
}

int direction(Key::Kind kind)
{
    switch (kind) {
    case Key::Kind::up:
        return 0;
    case Key::Kind::down:
        return 1;
    case Key::Kind::left:
        return 2;
    case Key::Kind::right:
        return 3;
    default:
        return -1;
    }
}

Spot firstCardOr(Spot stay, int recentCount)
{
    return recentCount > 0 ? Spot { Target::card, 0 } : stay;
}

Spot tileMove(Spot self, Target target, int recentCount)
{
    if (target == Target::none)
        return self;
    return target == Target::card ? firstCardOr(self, recentCount) : Spot { target };
}

Spot actionMove(Spot self, int dir, int recentCount)
{
    const auto i = std::find(std::begin(kActions), std::end(kActions), self.target) - std::begin(kActions);
    switch (dir) {
    case 0:
        return i == 0 ? self : Spot { kActions[i - 1] };
    case 1:
        return i + 1 < std::ssize(kActions) ? Spot { kActions[i + 1] } : firstCardOr(self, recentCount);
    case 2:
        return Spot { i < 2 ? Target::series : Target::playlist };
    default:
        return self;
    }
}

Spot cardMove(Spot self, int dir, int recentCount)
{
    switch (dir) {
    case 0:
        return Spot { Target::live };
    case 2:
        return self.card >= 1 ? Spot { Target::card, self.card - 1 } : self;
    case 3:
        return self.card + 1 < recentCount ? Spot { Target::card, self.card + 1 } : self;
    default:
        return self;
    }
}

} // namespace

QString idOf(Spot spot)
{
    if (spot.target == Target::card)
        return QStringLiteral("r") + QString::number(spot.card);
    const auto named = std::find_if(std::begin(kNames), std::end(kNames),
        [spot](const Named &each) { return each.target == spot.target; });
    return named == std::end(kNames) ? QString() : QString::fromLatin1(named->id);
}

Spot spotOf(const QString &id)
{
    const auto named = std::find_if(std::begin(kNames), std::end(kNames),
        [&id](const Named &each) { return id == QLatin1String(each.id); });
    if (named != std::end(kNames))
        return { named->target };
    if (!id.startsWith(QLatin1Char('r')) || id.size() < 2)
        return {};
    const QStringView rest = QStringView(id).mid(1);
    if (!std::all_of(rest.begin(), rest.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return {};
    bool ok = false;
    const int n = rest.toInt(&ok);
    return ok ? Spot { Target::card, n } : Spot {};
}

std::optional<Spot> move(Spot focus, Key::Kind kind, int recentCount)
{
    const int dir = direction(kind);
    if (focus.target == Target::none) {
        if (dir < 0 && kind != Key::Kind::tab)
            return std::nullopt;
        return Spot { Target::live };
    }
    if (dir < 0)
        return std::nullopt;
    if (const std::optional<std::array<Target, 4>> moves = tileMoves(focus.target))
        return tileMove(focus, (*moves)[size_t(dir)], recentCount);
    if (focus.target == Target::card)
        return cardMove(focus, dir, recentCount);
    return actionMove(focus, dir, recentCount);
}

} // namespace HomeFocus
