#pragma once

#include <QString>

struct XtreamSizes {
    int live = 0;
    int films = 0;
    int series = 0;
};

// Writes the answers of a generated Xtream-Codes account into `folder` as the demo
// portal's captured account reads them (auth.json, <action>.json); every address in them
// points at `base`.
bool writeXtreamAccount(const QString &folder, const XtreamSizes &sizes, const QString &base);
