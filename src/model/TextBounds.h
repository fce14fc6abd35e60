#pragma once

#include <QByteArrayView>
#include <QString>

// The longest provider and portal texts kept: every real list stays far below them, while a
// hostile one costs no more than its bytes being scanned once. Texts read as UTF-8 count
// bytes, texts read as UTF-16 count code units.
namespace TextBounds {

// Names and titles: channels, movies, series, episodes, categories, programmes, playlists.
inline constexpr qsizetype kName = 4 * 1024;
// Descriptions and plots, and any other text of a lenient read.
inline constexpr qsizetype kLongText = 32 * 1024;
// Portal messages and device record texts: notices, error messages, support contacts.
inline constexpr qsizetype kMessage = 4 * 1024;

// The longest start of the UTF-8 text of at most `limit` bytes that splits no character.
QByteArrayView cut(QByteArrayView utf8, qsizetype limit);
// The longest start of the text of at most `limit` code units that splits no surrogate pair.
QString cut(QString text, qsizetype limit);

} // namespace TextBounds
