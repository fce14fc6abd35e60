#pragma once

#include <QByteArray>
#include <QString>

// Media documents that send a player elsewhere: playlists, manifests, listings and a QuickTime
// reference movie, each naming the given address (any scheme) where a source would be opened.
namespace HostileMedia {

// An HLS media playlist of one segment.
QByteArray hlsSegments(const QString &segment);
// An HLS media playlist whose segment is encrypted with the key at `key`.
QByteArray hlsKeyed(const QString &key, const QString &segment);
// An HLS master playlist of one variant.
QByteArray hlsMaster(const QString &variant);
// An HLS master playlist whose variant takes its audio from the rendition playlist at `rendition`.
QByteArray hlsMasterWithRendition(const QString &rendition, const QString &variant);
// A DASH manifest of one representation whose segment is `segment` under the base address `base`.
QByteArray dashManifest(const QString &base, const QString &segment);
// A QuickTime movie holding only a reference (moov/rmra/rmda/rdrf) to the movie at `target`.
QByteArray referenceMovie(const QString &target);
// Playlists of one entry, in the M3U, PLS, XSPF and ASX forms.
QByteArray m3uList(const QString &entry);
QByteArray plsList(const QString &entry);
QByteArray xspfList(const QString &entry);
QByteArray asxList(const QString &entry);

} // namespace HostileMedia
