// The M3U parser and collector: the pieces of a text parse like the whole text, and
// collectors of the pieces joined in order, and the sizing collector, hold what one
// collector of the whole holds.
#include "FuzzCheck.h"
#include "sources/M3uCollector.h"
#include "sources/M3uParser.h"

#include <cstdint>

namespace {

QList<M3uParser::Entry> parseWhole(QByteArrayView bytes)
{
    QList<M3uParser::Entry> entries;
    M3uParser::parse(bytes, [&](M3uParser::Entry &&entry) { entries.append(std::move(entry)); });
    return entries;
}

bool sameContent(const M3uCollector &a, const M3uCollector &b)
{
    for (ContentType type : kAllContentTypes) {
        if (a.items(type) != b.items(type) || a.categories(type) != b.categories(type))
            return false;
    }
    return a.episodes == b.episodes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const int parts = 1 + data[0] % 5;
    const QByteArrayView bytes(reinterpret_cast<const char *>(data) + 1, qsizetype(size - 1));

    const QString uncategorized = QStringLiteral("Uncategorized");
    const QList<M3uParser::Entry> whole = parseWhole(bytes);
    QList<M3uParser::Entry> pieced;
    M3uCollector joined(uncategorized);
    for (QByteArrayView piece : M3uParser::splitAtEntries(bytes, parts)) {
        M3uCollector part(uncategorized);
        for (M3uParser::Entry entry : parseWhole(piece)) {
            pieced.append(entry);
            part.add(std::move(entry));
        }
        joined.append(std::move(part));
    }
    FUZZ_CHECK(pieced == whole);
    M3uCollector single(uncategorized);
    for (M3uParser::Entry entry : whole)
        single.add(std::move(entry));
    FUZZ_CHECK(sameContent(joined, single));
    // The collector sizes its lists from the raw address lines before it parses.
    FUZZ_CHECK(sameContent(M3uCollector::collect(bytes, uncategorized, parts), single));
    return 0;
}
