#pragma once

#include "model/Records.h"

#include <QString>

// One character of each script the names of `items` use beyond Latin and common marks,
// and their first symbol: what makes text fall back to other fonts.
QString scriptSamples(const MediaItems &items);

// Finds, on a worker thread, the fallback fonts the names of `section` need in the interface
// and rounded faces, then on the main thread those of the fonts a channel row draws with,
// so the first list that shows them does not look them up. Main thread only.
void warmScriptFonts(const SectionPtr &section);
