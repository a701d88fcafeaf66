#include "problem.h"

#include <ctime>

namespace projectile {

crt_rand seeded_from_clock() noexcept {
  // srand() takes an unsigned int: the low 32 bits of the time. The time itself
  // is read in 64 bits everywhere, so that the seed still changes every second
  // after 2038-01-19, when a 32-bit time runs out: 32-bit glibc builds get a
  // 64-bit time_t from the build's _TIME_BITS=64, and 32-bit Windows, whose
  // time() is the C runtime's 32-bit _time32, calls _time64 by name.
#ifdef _WIN32
  const __time64_t now = _time64(nullptr);
#else
  const std::time_t now = std::time(nullptr);
#endif
  return crt_rand{static_cast<std::uint32_t>(now)};
}

}  // namespace projectile
