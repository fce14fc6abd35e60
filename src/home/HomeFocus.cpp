#include "HomeFocus.h"

#include <QHash>

#include <algorithm>
#include <array>

namespace HomeFocus {

namespace {

// Stands for "r0 when there are cards, else stay" in the tile table.
const QString kFirstCard = QStringLiteral("r0?");

// Up, down, left, right of each tile.
const QHash<QString, std::array<QString, 4>> &tileMoves()
{
    using Moves = std::array<QString, 4>;
    static const QHash<QString, Moves> table {
        { QStringLiteral("live"), Moves { QString(), kFirstCard, QString(), QStringLiteral("movies") } },
        { QStringLiteral("movies"),
            Moves {
                QString(), QStringLiteral("account"), QStringLiteral("live"), QStringLiteral("series") } },
        { QStringLiteral("series"),
            Moves {
                QString(), QStringLiteral("playlist"), QStringLiteral("movies"), QStringLiteral("search") } },
        { QStringLiteral("account"),
            Moves {
                QStringLiteral("movies"), kFirstCard, QStringLiteral("live"), QStringLiteral("playlist") } },
        { QStringLiteral("playlist"),
            Moves {
                QStringLiteral("series"), kFirstCard, QStringLiteral("account"), QStringLiteral("reload") } },
    };
    return table;
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

QString firstCardOr(const QString &stay, int recentCount)
{
    return recentCount > 0 ? recentId(0) : stay;
}

QString actionMove(int i, int dir, int recentCount)
{
    const QString &self = kActions[i];
    switch (dir) {
    case 0:
        return i == 0 ? self : kActions[i - 1];
    case 1:
        return i + 1 < kActions.size() ? kActions[i + 1] : firstCardOr(self, recentCount);
    case 2:
        return i < 2 ? QStringLiteral("series") : QStringLiteral("playlist");
    default:
        return self;
    }
}

QString cardMove(const QString &self, int dir, int recentCount)
{
    const std::optional<int> n = recentIndex(self);
    if (!n)
        return self;
    switch (dir) {
    case 0:
        return QStringLiteral("live");
    case 2:
        return *n >= 1 ? recentId(*n - 1) : self;
    case 3:
        return *n + 1 < recentCount ? recentId(*n + 1) : self;
    default:
        return self;
    }
}

} // namespace

QString recentId(int index)
{
    return QStringLiteral("r") + QString::number(index);
}

std::optional<int> recentIndex(const QString &id)
{
    if (!id.startsWith(QLatin1Char('r')) || id.size() < 2)
        return std::nullopt;
    const QStringView rest = QStringView(id).mid(1);
    if (!std::all_of(rest.begin(), rest.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return std::nullopt;
    bool ok = false;
    const int n = rest.toInt(&ok);
    return ok ? std::optional(n) : std::nullopt;
}

std::optional<QString> move(const QString &focus, Key::Kind kind, int recentCount)
{
    const int dir = direction(kind);
    if (focus.isEmpty()) {
        if (dir < 0 && kind != Key::Kind::tab)
            return std::nullopt;
        return QStringLiteral("live");
    }
    if (dir < 0)
        return std::nullopt;
    if (const auto tile = tileMoves().constFind(focus); tile != tileMoves().cend()) {
        const QString &target = (*tile)[dir];
        if (target.isEmpty())
            return focus;
        return target == kFirstCard ? firstCardOr(focus, recentCount) : target;
    }
    if (const qsizetype i = kActions.indexOf(focus); i >= 0)
        return actionMove(int(i), dir, recentCount);
    if (focus.startsWith(QLatin1Char('r')))
        return cardMove(focus, dir, recentCount);
    return focus;
}

} // namespace HomeFocus
