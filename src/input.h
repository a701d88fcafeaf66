// Typed input: the console's bounded line reading and question count, and the
// number of a set of questions.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>
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

// A set: the second a run is seeded from, as its questions are given to a
// class (in a page's address, say). Only the seeds a run can have are sets:
// whole decimal numbers 0 to 4294967295, written with digits alone. nullopt for
// anything else, so that a mistyped set is refused rather than read as another.
std::optional<std::uint32_t> parse_set(std::string_view text) noexcept;

}  // namespace projectile
