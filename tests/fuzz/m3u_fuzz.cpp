// The M3U parser and collector, on one thread: the pieces of a text parse like the whole
// text, and collectors of the pieces joined in order hold what one collector of the whole
// holds.
#include "FuzzCheck.h"
#include "M3uFuzzSupport.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const int parts = 1 + data[0] % 5;
    const QByteArrayView bytes(reinterpret_cast<const char *>(data) + 1, qsizetype(size - 1));

    const QList<M3uParser::Entry> whole = parseWhole(bytes);
    QList<M3uParser::Entry> pieced;
    M3uCollector joined(QStringLiteral("Uncategorized"));
    for (QByteArrayView piece : M3uParser::splitAtEntries(bytes, parts)) {
        const QList<M3uParser::Entry> entries = parseWhole(piece);
        pieced.append(entries);
        joined.append(collectOneByOne(entries));
    }
    FUZZ_CHECK(pieced == whole);
    FUZZ_CHECK(sameContent(joined, collectOneByOne(whole)));
    return 0;
}
