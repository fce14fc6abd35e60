#pragma once

#include <QtGlobal>

// The process's peak resident memory (the kernel's high-water mark), for tests that bound
// what hostile input may cost. The sanitizers' allocators keep freed memory aside, so
// `measurable()` is false under them and such tests skip.
namespace PeakMemory {

bool measurable();
// Starts a new high-water mark at the current resident size.
void reset();
// The high-water mark since the last reset (or the start), in bytes.
qint64 bytes();

} // namespace PeakMemory
