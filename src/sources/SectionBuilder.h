#pragma once

#include "model/Records.h"

#include <QList>
#include <QString>

#include <utility>

// A provider category as listed: (id, name).
using CategoryName = std::pair<QString, QString>;

// Groups the items by category. Listed categories come first, in list order, when they
// have items; categories only the items name follow in first-seen order, named by their
// id ("__uncat__" by `uncategorizedName`). Pure; spreads its work over the worker threads.
SectionPtr buildSection(ContentType type, const QList<CategoryName> &categories, MediaItems items,
    const QString &uncategorizedName);
