// The collector's own split, on one thread and small texts: lists sized from the raw
// address lines and filled piece by piece hold what one collector of the whole holds.
#include "FuzzCheck.h"
#include "M3uFuzzSupport.h"

#include <cstdint>

namespace {

constexpr std::size_t kMaxBytes = 4096;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0 || size > kMaxBytes)
        return 0;
    const M3uSplit split { 1 + data[0] % 8, false };
    const QByteArrayView bytes(reinterpret_cast<const char *>(data) + 1, qsizetype(size - 1));
    const M3uCollector collected = M3uCollector::collect(bytes, QStringLiteral("Uncategorized"), split);
    FUZZ_CHECK(sameContent(collected, collectOneByOne(parseWhole(bytes))));
    return 0;
}
