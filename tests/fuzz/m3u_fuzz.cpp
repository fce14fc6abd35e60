// The M3U parser and collector: the pieces of a text parse like the whole text, and
// collecting on several threads gives what one thread gives.
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

    const QList<M3uParser::Entry> whole = parseWhole(bytes);
    QList<M3uParser::Entry> pieced;
    for (QByteArrayView piece : M3uParser::splitAtEntries(bytes, parts))
        pieced.append(parseWhole(piece));
    FUZZ_CHECK(pieced == whole);

    const QString uncategorized = QStringLiteral("Uncategorized");
    FUZZ_CHECK(sameContent(M3uCollector::collect(bytes, uncategorized, 1),
                           M3uCollector::collect(bytes, uncategorized, parts)));
    return 0;
}
