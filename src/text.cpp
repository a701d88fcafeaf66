#include "text.h"

#include <charconv>

namespace projectile {

namespace {
// "-1.23457e-308" and "-2147483648" both fit with room to spare.
constexpr int max_number_chars = 24;
}  // namespace

void text::append_g(double value) {
  char digits[max_number_chars];
  // to_chars in general form with a precision is specified as printf's "%.6g"
  // in the C locale: six significant digits, trailing zeros and a trailing
  // point removed, exponent form only below 1e-4 or from 1e6. It gives the
  // same characters as printf but several times faster, and never depends
  // on the locale.
  const auto result = std::to_chars(digits, digits + max_number_chars, value,
                                    std::chars_format::general, 6);
  chars_.append(digits, result.ptr);
}

void text::append_i(int value) {
  char digits[max_number_chars];
  const auto result = std::to_chars(digits, digits + max_number_chars, value);
  chars_.append(digits, result.ptr);
}

}  // namespace projectile
