// The program's text under construction: literal pieces and numbers in the
// forms of printf's "%g" and "%i", formatted without printf.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace projectile {

// The most a number takes ("-1.23457e-308", "-2147483648"), with the slack
// its formatting writes past its end in whole 8-byte stores.
inline constexpr std::size_t number_room = 32;

// A number as "%g" prints it, made once to be appended more than once.
struct number_text {
  std::array<char, number_room> chars;
  std::size_t size;

  [[nodiscard]] std::string_view view() const noexcept { return {chars.data(), size}; }
};

class text {
 public:
  // Inline, so that a literal piece is copied by a few moves of known size
  // rather than a call.
  void append(std::string_view piece) {
    std::copy(piece.begin(), piece.end(), room(piece.size()));
    size_ += piece.size();
  }
  // All of the number's storage is copied, a size known here, and the text
  // is then its first `size` characters.
  void append(const number_text& number) {
    std::copy(number.chars.begin(), number.chars.end(), room(number_room));
    size_ += number.size;
  }
  void append_g(double value);
  static number_text format_g(double value) noexcept;
  void append_i(int value);
  // As printf's "%u" of a 32-bit value.
  void append_u(std::uint32_t value);
  // "%g" of `value`, known to be the float that hundredths(n) makes of whole
  // hundredths: printed from n, exactly and more cheaply, where that is sure.
  void append_hundredths(int hundredths, float value);

  [[nodiscard]] std::string_view view() const noexcept { return {chars_.data(), size_}; }
  // Keeps the storage, so a run of questions allocates only for the first.
  void clear() noexcept { size_ = 0; }

 private:
  // Where the next `n` characters go, with room for all of them.
  char* room(std::size_t n) {
    if (chars_.size() - size_ < n) {
      grow(n);
    }
    return chars_.data() + size_;
  }
  void grow(std::size_t n);

  std::string chars_;  // the storage: all of it writable, the text its first size_ characters
  std::size_t size_ = 0;
};

// "%u" of `value` as a string of its own.
std::string decimal(std::uint32_t value);

// The pieces as one string, appended a piece at a time: GCC 12 warns
// falsely (-Wrestrict) of "literal" + std::string on some targets.
template <class... Pieces>
std::string joined(const Pieces&... pieces) {
  std::string whole;
  (whole.append(std::string_view(pieces)), ...);
  return whole;
}

}  // namespace projectile
