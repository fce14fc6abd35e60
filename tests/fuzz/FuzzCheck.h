#pragma once

#include <cstdio>
#include <cstdlib>

// A broken property is a finding: report it and stop, so libFuzzer keeps the input.
#define FUZZ_CHECK(condition)                                                                                \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            std::fprintf(stderr, "property failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__);           \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (false)
