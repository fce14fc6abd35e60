#pragma once

#include "sources/M3uCollector.h"
#include "sources/M3uParser.h"

inline QList<M3uParser::Entry> parseWhole(QByteArrayView bytes)
{
    QList<M3uParser::Entry> entries;
    M3uParser::parse(bytes, [&](M3uParser::Entry &&entry) { entries.append(std::move(entry)); });
    return entries;
}

inline bool sameContent(const M3uCollector &a, const M3uCollector &b)
{
    for (ContentType type : kAllContentTypes) {
        if (a.items(type) != b.items(type) || a.categories(type) != b.categories(type))
            return false;
    }
    return a.episodes == b.episodes;
}

// A collector fed the entries one by one.
inline M3uCollector collectOneByOne(const QList<M3uParser::Entry> &entries)
{
    M3uCollector collector(QStringLiteral("Uncategorized"));
    for (M3uParser::Entry entry : entries)
        collector.add(std::move(entry));
    return collector;
}
