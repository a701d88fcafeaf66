// Reading an answer page back from a scan or a photo: the page is found by
// its corner marks, known by its code, and each value read from its bubbles.
// Nothing doubtful is guessed: a column with two bubbles filled, a faint mark
// or a value that cannot be written is unclear, with why.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "answer_sheet.h"
#include "quantity.h"

namespace projectile {

// Pixels as a decoder gives them, a row after another from the top: a byte
// of gray each (0 black), or four (red, green, blue, alpha) as a browser's
// canvas gives them.
struct image_view {
  int width;
  int height;
  int channels;  // 1 or 4
  std::span<const std::uint8_t> pixels;
};

enum class bubbles { blank, clear, unclear };

struct value_read {
  bubbles state;
  std::string digits;  // as filled, "12.5", when clear
  std::string why;     // when unclear: "two bubbles filled in column 2"
};

// Where a thing of the page lies in the image's pixels: the corners of its
// box, turned and slanted as the page lies.
using pixel_quad = std::array<point, 4>;

// A page read from an image, which must outlive it: its bubbles are read
// from the image's own pixels when asked for.
class page_scan {
 public:
  explicit page_scan(const image_view& image);

  // The page's code; nullopt when no answer page is found in the image or
  // its code does not check.
  [[nodiscard]] const std::optional<sheet_code>& code() const noexcept { return code_; }

  // The value filled for `what` of question `question` (on this page).
  [[nodiscard]] value_read value(int question, quantity what) const;
  // Where that value's block lies in the image, to show it to whoever settles it.
  [[nodiscard]] pixel_quad where(int question, quantity what) const;

 private:
  [[nodiscard]] double level(point at) const;
  [[nodiscard]] double mean_level(point at, double radius) const;
  [[nodiscard]] double darkness(point at, double radius, const std::array<point, 4>& paper) const;
  [[nodiscard]] point to_image(point at) const;
  struct mark_seen;
  bool try_marks(const std::array<mark_seen, 4>& corners);

  image_view image_;
  std::array<double, 9> page_to_image_{};  // millimetres to the image's pixels
  std::optional<sheet_code> code_;
};

// All that a page says, read at once, so that pages are read side by side
// and then put to their students in order: its code, and for each question
// of the page (from the first) every quantity's value and where it lies.
struct page_read {
  std::optional<sheet_code> code;
  int first_question = 0;
  std::vector<std::array<value_read, quantities.size()>> values;
  std::vector<std::array<pixel_quad, quantities.size()>> where;
};
page_read read_page(const image_view& image);

}  // namespace projectile
