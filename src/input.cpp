#include "input.h"

#include <climits>
#include <cstdint>

namespace projectile {

std::optional<std::string_view> read_line(std::FILE* in, line_buffer& buf) {
  constexpr std::size_t keep = line_buffer{}.size() - 1;  // room for the terminator
  std::size_t size = 0;
  int c = std::getc(in);
  if (c == EOF) {
    buf[0] = '\0';
    return std::nullopt;
  }
  for (; c != EOF && c != '\n'; c = std::getc(in)) {
    if (size < keep) {
      buf[size++] = static_cast<char>(c);
    }
  }
  buf[size] = '\0';
  return std::string_view(buf.data(), size);
}

namespace {
// isspace() in the C locale, without its dependence on the current locale
// and on the sign of char.
constexpr bool is_space(char c) noexcept {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
}  // namespace

int parse_count(std::string_view line) noexcept {
  std::size_t i = 0;
  while (i < line.size() && is_space(line[i])) {
    ++i;
  }
  bool negative = false;
  if (i < line.size() && (line[i] == '+' || line[i] == '-')) {
    negative = line[i] == '-';
    ++i;
  }
  // Accumulated as a magnitude in long long and clamped once it passes the
  // larger limit, so no digit string can overflow.
  constexpr long long limit = static_cast<long long>(INT_MAX) + 1;
  long long magnitude = 0;
  for (; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i) {
    magnitude = magnitude * 10 + (line[i] - '0');
    if (magnitude > limit) {
      magnitude = limit;
    }
  }
  if (negative) {
    return static_cast<int>(-magnitude);
  }
  return magnitude > INT_MAX ? INT_MAX : static_cast<int>(magnitude);
}

std::optional<std::uint32_t> parse_set(std::string_view text) noexcept {
  if (text.empty()) {
    return std::nullopt;
  }
  std::uint64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') {
      return std::nullopt;
    }
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
    if (value > UINT32_MAX) {
      return std::nullopt;
    }
  }
  return static_cast<std::uint32_t>(value);
}

}  // namespace projectile
