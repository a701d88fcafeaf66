// A fuzz target's check: a property that fails names itself and aborts, so
// that libFuzzer keeps the input that broke it.
#pragma once

#include <cstdio>
#include <cstdlib>

inline void require(bool condition, const char* what) {
  if (!condition) {
    (void)std::fprintf(stderr, "check failed: %s\n", what);
    std::abort();
  }
}
