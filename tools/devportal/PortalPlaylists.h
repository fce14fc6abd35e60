#pragma once

#include <QList>
#include <QString>

#include <optional>

// A playlist added to the device record from the command line.
struct ExtraPlaylist {
    enum class Kind {
        m3uFile, // --m3u NAME=FILE: the portal serves the file
        xtreamDir, // --xtream-dir NAME=DIR: the portal answers from captured files
        m3uUrl, // --playlist NAME=URL: listed as it stands
        xtreamAccount, // --xtream NAME=SERVER,USER,PASS: listed as it stands
    };

    Kind kind = Kind::m3uFile;
    QString name;
    QString source; // file, folder, address or server
    QString username;
    QString password;
    bool operator==(const ExtraPlaylist &) const = default;
};

// The option of each kind, without its dashes: "m3u", "xtream-dir", "playlist", "xtream".
QString optionName(ExtraPlaylist::Kind kind);
std::optional<ExtraPlaylist::Kind> extraPlaylistKind(const QString &option);

// Reads "NAME=VALUE" of an option; a file or folder must exist now, an address must be
// http or https with a host. On failure `problem` says why, in one line.
std::optional<ExtraPlaylist> parseExtraPlaylist(
    ExtraPlaylist::Kind kind, const QString &text, QString *problem);
