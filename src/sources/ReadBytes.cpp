#include "ReadBytes.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

void givePagesBack(QByteArrayView bytes)
{
    static const std::uintptr_t page = std::uintptr_t(sysconf(_SC_PAGESIZE));
    const std::uintptr_t start = std::uintptr_t(bytes.data());
    const std::uintptr_t begin = (start + page - 1) & ~(page - 1);
    const std::uintptr_t end = (start + std::uintptr_t(bytes.size())) & ~(page - 1);
    if (end > begin)
        madvise(reinterpret_cast<void *>(begin), end - begin, MADV_DONTNEED);
}
