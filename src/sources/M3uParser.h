#pragma once

#include "model/Records.h"

#include <QByteArrayView>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

// Reads M3U playlist text: one entry per address line, in file order. Pure; never fails.
namespace M3uParser {

struct Entry {
    QString name;
    OptText logo;
    OptText group;
    OptText tvgId;
    QString url;
    std::optional<Catchup> catchup;
    bool operator==(const Entry &) const = default;
};

// Calls `onEntry` once per address line with the finished entry. The bytes are UTF-8;
// invalid sequences become U+FFFD.
void parse(QByteArrayView bytes, const std::function<void(Entry &&)> &onEntry);

// True for bytes that are plainly no playlist: markup (a '<' first, after white space and
// byte-order marks), as a web page some providers answer with, or any NUL byte.
bool isPlainlyNoPlaylist(QByteArrayView bytes);

// Cuts the text into at most `parts` pieces of similar size, each ending just after an
// address line (or at the end), so parsing the pieces one after another gives exactly the
// entries of parsing the whole text.
QList<QByteArrayView> splitAtEntries(QByteArrayView bytes, int parts);

} // namespace M3uParser
