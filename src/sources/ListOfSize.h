#pragma once

#include <QList>
#include <QtConcurrent/QtConcurrentMap>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

// Stretch of a new list's storage that one worker touches.
inline constexpr std::size_t kListTouchBytes = 1024 * 1024;

// A list of `size` default entries whose storage is first touched by worker threads, so
// that the page faults of a big list are not all taken by one thread.
template <typename Entry> QList<Entry> listOfSize(qsizetype size)
{
    QList<Entry> list;
    list.reserve(size);
    char *storage = reinterpret_cast<char *>(list.data());
    const std::size_t bytes = std::size_t(size) * sizeof(Entry);
    std::vector<std::size_t> stretches;
    for (std::size_t begin = 0; begin < bytes; begin += kListTouchBytes)
        stretches.push_back(begin);
    QtConcurrent::blockingMap(stretches, [&](std::size_t begin) {
        std::memset(storage + begin, 0, std::min(kListTouchBytes, bytes - begin));
    });
    list.resize(size);
    return list;
}
