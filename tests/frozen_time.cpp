// Preloaded into projectile-questions by the end-to-end tests (LD_PRELOAD):
// time() answers the second given in FROZEN_TIME, so the questions of a run are
// known before it starts.
//
// Only time() is replaced, which is all the program reads of the clock. A
// general clock faker such as libfaketime also replaces clock_gettime, and the
// address sanitizer's allocator calls clock_gettime while it holds its own
// locks: the faker's first-call set-up then runs inside the allocator and can
// deadlock the sanitized program before it prints a byte.
#include <cstdlib>
#include <ctime>

// The C library names the parameter __timer, a name reserved to it.
// NOLINTNEXTLINE(readability-inconsistent-declaration-parameter-name)
extern "C" std::time_t time(std::time_t* out) noexcept {
  // Unset is a fault of the test harness, not a time to make up.
  const char* const text = std::getenv("FROZEN_TIME");
  if (text == nullptr) {
    std::abort();
  }
  const auto now = static_cast<std::time_t>(std::strtoll(text, nullptr, 10));
  if (out != nullptr) {
    *out = now;
  }
  return now;
}
