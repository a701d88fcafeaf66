// libFuzzer target: arbitrary bytes as the pixels of a scan or a photo (a
// first byte saying gray or RGBA, two for the width, then the pixels, the
// height what they fill). Whatever the pixels, the reader ends, and what it
// reads of a page it finds is well formed: a clear value is one to five
// digits with at most one point among them, an unclear one says why, a
// blank one holds nothing, and every block it places is a finite place.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>

#include "answer_sheet.h"
#include "require.h"
#include "sheet_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) {
    return 0;
  }
  const int channels = (data[0] & 1U) != 0 ? 4 : 1;
  const int width = 32 + (data[1] | (data[2] << 8U)) % 1200;
  const std::span<const std::uint8_t> pixels(data + 3, size - 3);
  const auto row = static_cast<std::size_t>(width) * static_cast<std::size_t>(channels);
  const int height = static_cast<int>(pixels.size() / row);
  const projectile::page_scan scan({width, height, channels, pixels});
  if (!scan.code()) {
    return 0;
  }
  for (int question = 1; question <= projectile::questions_per_page; ++question) {
    for (const projectile::quantity what : projectile::quantities) {
      const projectile::value_read read = scan.value(question, what);
      int digits = 0;
      int points = 0;
      for (const char c : read.digits) {
        digits += c >= '0' && c <= '9' ? 1 : 0;
        points += c == '.' ? 1 : 0;
      }
      switch (read.state) {
        case projectile::bubbles::clear:
          require(digits >= 1 && digits <= projectile::digit_columns && points <= 1 &&
                      digits + points == static_cast<int>(read.digits.size()) &&
                      read.digits.front() != '.' && read.why.empty(),
                  "a clear value is digits with at most one point");
          break;
        case projectile::bubbles::unclear:
          require(read.digits.empty() && !read.why.empty(), "an unclear value says why");
          break;
        case projectile::bubbles::blank:
          require(read.digits.empty() && read.why.empty(), "a blank value is empty");
          break;
      }
      for (const projectile::point corner : scan.where(question, what)) {
        require(std::isfinite(corner.x) && std::isfinite(corner.y), "a block is somewhere");
      }
    }
  }
  return 0;
}
