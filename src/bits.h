// std::bit_cast, or, where the standard library lacks it (libc++ 13, which
// the web build's emscripten ships), the compiler builtin it wraps: the same
// exact, constexpr copy of an object's bits.
#pragma once

#include <bit>

namespace projectile {

template <class To, class From>
constexpr To bit_cast(const From& from) noexcept {
#ifdef __cpp_lib_bit_cast
  return std::bit_cast<To>(from);
#else
  return __builtin_bit_cast(To, from);
#endif
}

}  // namespace projectile
