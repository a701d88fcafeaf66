// A student's answer pages: where each thing stands on a page, in millimetres
// from its top-left corner; the code that names a page; and a page drawn as
// SVG. The reader looks for the same things at the same places, so both take
// them from here.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "handout.h"
#include "quantity.h"
#include "svg.h"

namespace projectile {

enum class paper { a4, letter };

struct paper_size {
  double width;
  double height;
};
constexpr paper_size size_of(paper p) noexcept {
  return p == paper::a4 ? paper_size{210, 297} : paper_size{215.9, 279.4};
}

// A row of digit columns for each value a question asks, the questions a
// row each: five fit a page of either paper.
inline constexpr int questions_per_page = 5;
constexpr int pages_of(int count) noexcept {
  return (count + questions_per_page - 1) / questions_per_page;
}

// Five columns carry any printed value to three significant figures or
// more: 0.150 (a height) to 1020.5 (a range), the point after column 1 to 4.
inline constexpr int digit_columns = 5;
inline constexpr double bubble_radius = 1.3;
// Between bubbles' centres: a column's digits, and one column and the next.
inline constexpr double digit_pitch = 3.2;
inline constexpr double column_pitch = 4.6;

// The four corner marks, solid squares: the largest solid things on a page,
// so a reader finds them in a photo of it, then everything else from them.
inline constexpr double mark_side = 8;
inline constexpr double mark_inset = 7;
// Their centres: top left, top right, bottom right, bottom left.
std::array<point, 4> mark_centres(paper p) noexcept;

// What a page is, in 96 cells between the top marks: 80 bits of what it is,
// then a 16-bit check, so that a smudge or another page's code is refused
// rather than misread, and a page turned over is known by its check.
struct sheet_code {
  std::uint32_t set;  // the set, or the class set
  int version;        // 1 to 65535; a set alone is version 1
  int page;           // 1 to 32767
  int count;          // the questions a student has, 1 to 65535
  paper size;

  friend bool operator==(const sheet_code&, const sheet_code&) = default;
};
inline constexpr int code_bits = 96;
inline constexpr double code_cell_side = 2.2;
// A cell's centre; a one is a filled square.
point code_cell(int bit) noexcept;
std::array<bool, code_bits> bits_of(const sheet_code& code) noexcept;
// The code the bits hold; nullopt when the check fails.
std::optional<sheet_code> code_of(const std::array<bool, code_bits>& bits) noexcept;

// Where the bubbles of `what` stand, on the page row of question `question`
// (from 1): digit `digit` (0 to 9) of column `column` (1 to digit_columns),
// and the point after column `column` (1 to digit_columns - 1).
point digit_bubble(int question, quantity what, int column, int digit) noexcept;
point point_bubble(int question, quantity what, int column) noexcept;

// The page of `page` (1 to pages_of(made.count)) of a student's answer
// sheet, every bubble a <circle> saying what it means in data-question,
// data-value and data-column with data-digit, or data-point. The same bytes
// everywhere.
std::string answer_page(const handout& made, const student& who, int page, paper size);

}  // namespace projectile
