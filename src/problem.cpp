#include "problem.h"

#include <ctime>

namespace projectile {

crt_rand seeded_from_clock() noexcept {
  // srand() takes an unsigned int: the low 32 bits of time_t, which is what a
  // 32-bit time_t would have held anyway.
  return crt_rand{static_cast<std::uint32_t>(std::time(nullptr))};
}

}  // namespace projectile
