#include "PortalPlaylists.h"

#include <QFileInfo>
#include <QUrl>

namespace {

constexpr ExtraPlaylist::Kind kKinds[] = { ExtraPlaylist::Kind::m3uFile, ExtraPlaylist::Kind::xtreamDir,
    ExtraPlaylist::Kind::m3uUrl, ExtraPlaylist::Kind::xtreamAccount };

QString valueForm(ExtraPlaylist::Kind kind)
{
    switch (kind) {
    case ExtraPlaylist::Kind::m3uFile:
        return QStringLiteral("NAME=FILE");
    case ExtraPlaylist::Kind::xtreamDir:
        return QStringLiteral("NAME=DIR");
    case ExtraPlaylist::Kind::m3uUrl:
        return QStringLiteral("NAME=URL");
    case ExtraPlaylist::Kind::xtreamAccount:
        return QStringLiteral("NAME=SERVER,USER,PASS");
    }
    return {};
}

bool isWebAddress(const QString &text)
{
    const QUrl url(text, QUrl::StrictMode);
    return url.isValid() && (url.scheme() == u"http" || url.scheme() == u"https") && !url.host().isEmpty();
}

} // namespace

QString optionName(ExtraPlaylist::Kind kind)
{
    switch (kind) {
    case ExtraPlaylist::Kind::m3uFile:
        return QStringLiteral("m3u");
    case ExtraPlaylist::Kind::xtreamDir:
        return QStringLiteral("xtream-dir");
    case ExtraPlaylist::Kind::m3uUrl:
        return QStringLiteral("playlist");
    case ExtraPlaylist::Kind::xtreamAccount:
        return QStringLiteral("xtream");
    }
    return {};
}

std::optional<ExtraPlaylist::Kind> extraPlaylistKind(const QString &option)
{
    for (ExtraPlaylist::Kind kind : kKinds) {
        if (optionName(kind) == option)
            return kind;
    }
    return std::nullopt;
}

std::optional<ExtraPlaylist> parseExtraPlaylist(
    ExtraPlaylist::Kind kind, const QString &text, QString *problem)
{
    const QString option = QStringLiteral("--") + optionName(kind);
    const qsizetype equals = text.indexOf(u'=');
    ExtraPlaylist playlist { .kind = kind, .name = text.left(equals).trimmed() };
    const QString value = equals < 0 ? QString() : text.mid(equals + 1).trimmed();
    if (playlist.name.isEmpty() || value.isEmpty()) {
        *problem = QStringLiteral("%1 needs %2, got \"%3\"").arg(option, valueForm(kind), text);
        return std::nullopt;
    }
    switch (kind) {
    case ExtraPlaylist::Kind::m3uFile:
    case ExtraPlaylist::Kind::xtreamDir: {
        const QFileInfo info(value);
        const bool wantsFolder = kind == ExtraPlaylist::Kind::xtreamDir;
        if (!info.exists() || info.isDir() != wantsFolder || !info.isReadable()) {
            *problem = QStringLiteral("%1: no readable %2 at %3")
                           .arg(option, wantsFolder ? "folder" : "file", value);
            return std::nullopt;
        }
        playlist.source = info.absoluteFilePath();
        return playlist;
    }
    case ExtraPlaylist::Kind::m3uUrl:
        if (!isWebAddress(value)) {
            *problem = QStringLiteral("%1: \"%2\" is not an http or https address").arg(option, value);
            return std::nullopt;
        }
        playlist.source = value;
        return playlist;
    case ExtraPlaylist::Kind::xtreamAccount: {
        const QStringList parts = value.split(u',');
        playlist.source = parts.value(0).trimmed();
        playlist.username = parts.value(1).trimmed();
        // A password may hold commas of its own.
        playlist.password = parts.size() > 2 ? QStringList(parts.mid(2)).join(u',') : QString();
        if (!isWebAddress(playlist.source) || playlist.username.isEmpty() || playlist.password.isEmpty()) {
            *problem = QStringLiteral("%1 needs %2 with an http or https server, got \"%3\"")
                           .arg(option, valueForm(kind), text);
            return std::nullopt;
        }
        return playlist;
    }
    }
    return std::nullopt;
}
