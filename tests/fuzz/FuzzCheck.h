#pragma once

#include <cstdio>
#include <cstdlib>

// Stops the run when a promise of the code under test is broken: libFuzzer
// then keeps the input as a crash, like any sanitizer report.
#define FUZZ_REQUIRE(condition)                                                                    \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: broken promise: %s\n", __FILE__, __LINE__, #condition);   \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)
