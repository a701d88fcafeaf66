// The program's text under construction: literal pieces and numbers in the
// forms of printf's "%g" and "%i", formatted without printf.
#pragma once

#include <string>
#include <string_view>

namespace projectile {

class text {
 public:
  void append(std::string_view piece) { chars_.append(piece); }
  void append_g(double value);
  void append_i(int value);

  [[nodiscard]] std::string_view view() const noexcept { return chars_; }
  // Keeps the capacity, so a run of questions allocates only for the first.
  void clear() noexcept { chars_.clear(); }

 private:
  std::string chars_;
};

}  // namespace projectile
