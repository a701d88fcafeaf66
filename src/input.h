// Typed input: the console's bounded line and its question count, the whole
// numbers a teacher types (a set, a number of questions) with the words that
// refuse them, and the decimal numbers inside what a student types. Three
// readers in one room, deliberately: each is a few lines over the same
// digits, and every reader of typed text in the program is here, where the
// fuzz targets find them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace projectile {

// 15 characters of text and a terminator: both input lines are read into it.
using line_buffer = std::array<char, 16>;

// Reads one line from `in` into `buf`, never past its end: the first 15
// characters are kept and NUL-terminated, the rest of the line is consumed and
// dropped up to and including its line end, so that a long line cannot also
// answer a later prompt. Returns the kept text without the line end, or nullopt
// when input ends before any character of the line.
std::optional<std::string_view> read_line(std::FILE* in, line_buffer& buf);

// The number at the start of `line`, read as atoi() reads it: leading white
// space, an optional sign, decimal digits, stopping at the first other
// character; 0 when no digit follows. Beyond the range of int the value
// saturates to the nearer limit rather than being undefined.
int parse_count(std::string_view line) noexcept;

// A whole number written with decimal digits alone, 0 to 4294967295 (a set is
// any of them); nullopt for anything else, blanks and signs included, so that
// a mistyped number is refused rather than read as another.
std::optional<std::uint32_t> whole_number(std::string_view text) noexcept;

// A teacher's typed choice of a whole number from `lowest` to `highest`: its
// value, or the words that refuse it, which the one who asked puts after the
// choice's name: "must be a whole number from 1 to 10000, not ' 5'".
struct typed_choice {
  std::optional<std::uint32_t> value;
  std::string refused;  // empty when read
};
typed_choice read_choice(std::string_view typed, std::uint32_t lowest, std::uint32_t highest);

// "a whole number from LOWEST to HIGHEST".
std::string whole_number_range(std::uint32_t lowest, std::uint32_t highest);

// The decimal number at the start of `s`: an optional sign, digits with at
// most one decimal mark (`point_mark`), an optional exponent. `length` is 0 when no
// number starts there.
struct scanned {
  std::size_t length;
  double value;
};
scanned scan_number(std::string_view s, char point_mark = '.') noexcept;

}  // namespace projectile
