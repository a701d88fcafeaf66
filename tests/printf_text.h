// The reference for the program's number formatting: the same text, with every
// number formatted by the C library's snprintf.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "text.h"

namespace projectile::testing {

class printf_text {
 public:
  void append(std::string_view piece) { chars_.append(piece); }
  void append(const number_text& number) { append(number.view()); }
  void append_g(double value) { format("%g", value); }
  void append_i(int value) { format("%i", value); }
  static number_text format_g(double value) {
    number_text number{};
    number.size = static_cast<std::size_t>(
        std::snprintf(number.chars.data(), number.chars.size(), "%g", value));
    return number;
  }
  // The value alone, as printf knows nothing of where it came from.
  void append_hundredths(int /*hundredths*/, float value) { append_g(static_cast<double>(value)); }

  [[nodiscard]] std::string_view view() const noexcept { return chars_; }
  void clear() noexcept { chars_.clear(); }

 private:
  template <class T>
  void format(const char* conversion, T value) {
    char digits[64];
    const int n = std::snprintf(digits, sizeof digits, conversion, value);
    chars_.append(digits, static_cast<std::size_t>(n));
  }

  std::string chars_;
};

}  // namespace projectile::testing
