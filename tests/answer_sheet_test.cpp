// Answer pages drawn here from the layout, as a scanner or a phone would
// see them (turned, upside down, slanted, unevenly lit), then read back.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "answer_sheet.h"
#include "marking.h"
#include "sheet_reader.h"

namespace projectile {
namespace {

using matrix = std::array<double, 9>;

point mapped(const matrix& m, point p) {
  const double w = m[6] * p.x + m[7] * p.y + m[8];
  return {(m[0] * p.x + m[1] * p.y + m[2]) / w, (m[3] * p.x + m[4] * p.y + m[5]) / w};
}

matrix inverse(const matrix& m) {
  const matrix a = {
      m[4] * m[8] - m[5] * m[7], m[2] * m[7] - m[1] * m[8], m[1] * m[5] - m[2] * m[4],
      m[5] * m[6] - m[3] * m[8], m[0] * m[8] - m[2] * m[6], m[2] * m[3] - m[0] * m[5],
      m[3] * m[7] - m[4] * m[6], m[1] * m[6] - m[0] * m[7], m[0] * m[4] - m[1] * m[3]};
  return a;  // the adjugate: a multiple of the inverse, which is all a projective map needs
}

// A page as a camera sees it: `dpi`, turned `degrees` about its middle,
// its top edge drawn in as a camera tilted back sees it (by 1 / (1 + slant)
// at the image's top, against its bottom), lit more on its left than its right.
class scan {
 public:
  scan(paper size, double dpi, double degrees, double slant = 0) {
    const paper_size extent = size_of(size);
    const double s = dpi / 25.4;
    const double turn = degrees * 3.141592653589793 / 180;
    const double c = std::cos(turn) * s;
    const double n = std::sin(turn) * s;
    const double cx = extent.width / 2;
    const double cy = extent.height / 2;
    // The turned page's box, and a margin of a tenth of it.
    width_ = static_cast<int>((std::fabs(c) * extent.width + std::fabs(n) * extent.height) * 1.1);
    height_ = static_cast<int>((std::fabs(n) * extent.width + std::fabs(c) * extent.height) * 1.1);
    const double mx = width_ / 2.0;
    const double my = height_ / 2.0;
    const matrix turned = {c, -n, mx - c * cx + n * cy, n, c, my - n * cx - c * cy, 0, 0, 1};
    // About the image's bottom middle: its bottom edge stays as it is.
    const double k = slant / height_;
    const double bottom = height_;
    const matrix tilt =
        multiply(multiply({1, 0, mx, 0, 1, bottom, 0, 0, 1}, {1, 0, 0, 0, 1, 0, 0, -k, 1}),
                 {1, 0, -mx, 0, 1, -bottom, 0, 0, 1});
    forward_ = multiply(tilt, turned);
    back_ = inverse(forward_);
    pixels_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0);
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) {
        // Paper, darker to the right: a lamp on the left.
        pixels_[index(x, y)] = static_cast<std::uint8_t>(240 - 90 * x / width_);
      }
    }
    for (const point mark : mark_centres(size)) {
      fill_square(mark, mark_side);
    }
  }

  void code(const sheet_code& code) {
    const auto bits = bits_of(code);
    for (int bit = 0; bit < code_bits; ++bit) {
      if (bits[static_cast<std::size_t>(bit)]) {
        fill_square(code_cell(bit), code_cell_side);
      }
    }
  }

  // Ink the share `ink` of the paper's light: 1 is black.
  void disc(point centre, double radius, double ink) {
    paint(centre, radius, ink,
          [&](point p) { return std::hypot(p.x - centre.x, p.y - centre.y) <= radius; });
  }

  // A value filled as a student fills it, from the left-most column.
  void value(int question, quantity what, const std::string& digits, double ink = 0.85,
             double size = 1.0) {
    int column = 0;
    for (const char c : digits) {
      if (c == '.') {
        disc(point_bubble(question, what, column), bubble_radius * size, ink);
      } else {
        disc(digit_bubble(question, what, ++column, c - '0'), bubble_radius * size, ink);
      }
    }
  }

  [[nodiscard]] image_view view() const { return {width_, height_, 1, pixels_}; }

 private:
  static matrix multiply(const matrix& a, const matrix& b) {
    matrix m{};
    for (std::size_t r = 0; r < 3; ++r) {
      for (std::size_t c = 0; c < 3; ++c) {
        for (std::size_t k = 0; k < 3; ++k) {
          m[r * 3 + c] += a[r * 3 + k] * b[k * 3 + c];
        }
      }
    }
    return m;
  }

  [[nodiscard]] std::size_t index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
           static_cast<std::size_t>(x);
  }

  void fill_square(point centre, double side) {
    paint(centre, side, 1, [&](point p) {
      return std::fabs(p.x - centre.x) <= side / 2 && std::fabs(p.y - centre.y) <= side / 2;
    });
  }

  template <class Inside>
  void paint(point centre, double reach, double ink, Inside inside) {
    double left = width_;
    double right = 0;
    double top = height_;
    double bottom = 0;
    for (const point corner :
         {point{centre.x - reach, centre.y - reach}, point{centre.x + reach, centre.y - reach},
          point{centre.x - reach, centre.y + reach}, point{centre.x + reach, centre.y + reach}}) {
      const point p = mapped(forward_, corner);
      left = std::min(left, p.x);
      right = std::max(right, p.x);
      top = std::min(top, p.y);
      bottom = std::max(bottom, p.y);
    }
    for (int y = std::max(0, static_cast<int>(top));
         y <= std::min(height_ - 1, static_cast<int>(bottom) + 1); ++y) {
      for (int x = std::max(0, static_cast<int>(left));
           x <= std::min(width_ - 1, static_cast<int>(right) + 1); ++x) {
        if (inside(mapped(back_, {x + 0.5, y + 0.5}))) {
          std::uint8_t& p = pixels_[index(x, y)];
          p = static_cast<std::uint8_t>(std::lround(p * (1 - ink)));
        }
      }
    }
  }

  int width_;
  int height_;
  matrix forward_{};
  matrix back_{};
  std::vector<std::uint8_t> pixels_;
};

TEST(SheetCode, HoldsWhatAPageIsAndRefusesAnyOneBitWrong) {
  for (const sheet_code code : {sheet_code{0, 1, 1, 1, paper::a4},
                                sheet_code{4294967295U, 65535, 13107, 65535, paper::letter},
                                sheet_code{2101770013, 30, 2, 10, paper::a4}}) {
    auto bits = bits_of(code);
    ASSERT_EQ(code_of(bits), code);
    for (std::size_t flipped = 0; flipped < bits.size(); ++flipped) {
      bits[flipped] = !bits[flipped];
      EXPECT_EQ(code_of(bits), std::nullopt) << flipped;
      bits[flipped] = !bits[flipped];
    }
  }
  // A code that checks, but for a page its count does not have.
  EXPECT_EQ(code_of(bits_of({5, 1, 3, 10, paper::a4})), std::nullopt);
}

// One page, every way a bubble can be filled, seen every way a page is.
TEST(PageScan, ReadsWhatIsClearAndNamesWhatIsNot) {
  const sheet_code code{7, 3, 1, 10, paper::a4};
  struct view_of {
    paper size;
    double dpi;
    double degrees;
    double slant;
  };
  for (const view_of seen :
       {view_of{paper::a4, 150, 0, 0}, view_of{paper::a4, 300, 5, 0}, view_of{paper::a4, 600, 2, 0},
        view_of{paper::a4, 150, 180, 0}, view_of{paper::a4, 200, -4, 0.3},
        view_of{paper::letter, 150, 90, 0}}) {
    SCOPED_TRACE(seen.degrees);
    sheet_code here = code;
    here.size = seen.size;
    scan page(seen.size, seen.dpi, seen.degrees, seen.slant);
    page.code(here);
    page.value(1, quantity::time_of_flight, "12.34");
    page.value(1, quantity::range, "305");
    page.value(1, quantity::impact_speed, "47.1");
    page.disc(digit_bubble(1, quantity::impact_speed, 2, 2), bubble_radius, 0.85);
    page.value(1, quantity::impact_angle, "33.3", 0.33);
    page.disc(digit_bubble(2, quantity::time_of_flight, 1, 3), bubble_radius, 0.12);  // erased
    page.value(2, quantity::time_of_flight, "8.5");
    page.value(2, quantity::range, "4");
    page.disc(digit_bubble(2, quantity::range, 3, 2), bubble_radius, 0.85);
    page.disc(point_bubble(2, quantity::max_height, 2), bubble_radius, 0.85);
    page.value(2, quantity::impact_speed, "12");
    page.disc(point_bubble(2, quantity::impact_speed, 4), bubble_radius, 0.85);
    page.value(2, quantity::impact_angle, "0.1523", 0.6, 0.8);  // pencil, 64 % filled
    page.value(3, quantity::range, "1020.5", 0.85, 1.2);        // over the line
    const page_scan read(page.view());
    ASSERT_EQ(read.code(), here);
    const auto clear = [&](int q, quantity what, const char* digits) {
      const value_read v = read.value(q, what);
      EXPECT_EQ(v.state, bubbles::clear) << q << " " << id_of(what) << " " << v.why;
      EXPECT_EQ(v.digits, digits) << q << " " << id_of(what);
    };
    const auto unclear = [&](int q, quantity what, const char* why) {
      const value_read v = read.value(q, what);
      EXPECT_EQ(v.state, bubbles::unclear) << q << " " << id_of(what) << " " << v.digits;
      EXPECT_EQ(v.why, why) << q << " " << id_of(what);
    };
    clear(1, quantity::time_of_flight, "12.34");
    clear(1, quantity::range, "305");
    EXPECT_EQ(read.value(1, quantity::max_height).state, bubbles::blank);
    unclear(1, quantity::impact_speed, "two bubbles filled in column 2");
    unclear(1, quantity::impact_angle, "a faint mark in column 1");
    clear(2, quantity::time_of_flight, "8.5");
    unclear(2, quantity::range, "column 2 is empty before a digit");
    unclear(2, quantity::max_height, "a point without digits");
    unclear(2, quantity::impact_speed, "the point stands after an empty column");
    clear(2, quantity::impact_angle, "0.1523");
    clear(3, quantity::range, "1020.5");
    for (const point corner : read.where(1, quantity::range)) {
      EXPECT_TRUE(corner.x > 0 && corner.y > 0 && corner.x < page.view().width &&
                  corner.y < page.view().height);
    }
  }
}

// A mark run into a blot moves its centre, and every bubble with it: such a
// page is not read at all, rather than read a few millimetres off.
TEST(PageScan, TrustsNoMarkRunIntoABlot) {
  const sheet_code code{7, 3, 1, 10, paper::a4};
  scan page(paper::a4, 150, 0);
  page.code(code);
  ASSERT_EQ(page_scan(page.view()).code(), code);
  const point corner = mark_centres(paper::a4)[3];  // bottom left, far from the code
  page.disc({corner.x + 2, corner.y - 2}, 6, 1);
  EXPECT_EQ(page_scan(page.view()).code(), std::nullopt);
}

TEST(PageScan, FindsNoPageInWhatIsNoAnswerPage) {
  std::vector<std::uint8_t> gray(std::size_t{800} * 1100, 250);
  for (std::size_t i = 0; i < gray.size(); i += 7) {
    gray[i] = static_cast<std::uint8_t>(i % 251);  // noise, and no marks
  }
  EXPECT_EQ(page_scan({800, 1100, 1, gray}).code(), std::nullopt);
  EXPECT_EQ(page_scan({800, 1100, 3, gray}).code(), std::nullopt);  // refused, not read past
  EXPECT_EQ(page_scan({8, 8, 1, gray}).code(), std::nullopt);
}

// Five columns for the value as the answer prints it: what a student fills.
std::string five_columns(double value) {
  const int whole = value < 1 ? 1 : static_cast<int>(std::floor(std::log10(value))) + 1;
  std::array<char, 32> out{};
  (void)std::snprintf(out.data(), out.size(), "%.*f", std::max(0, 5 - whole), value);
  return out.data();
}

TEST(ClassMarking, PutsPagesToStudentsJudgesAndSaysWhatIsLeft) {
  const std::vector<std::string> names = {"Ann", "=Zoë, \"Al\" <&>"};
  const handout made = handout_of_class(99, 10, names, 0);
  class_marking marking(made);
  scan page(paper::a4, 150, 1);
  page.code({99, 2, 1, 10, paper::a4});
  const problem first = problem_set(made.students[1].set).at(1);
  for (const asked_value& asked : first.asked.view()) {
    page.value(1, asked.what, five_columns(asked.value));
  }
  const problem second = problem_set(made.students[1].set).at(2);
  page.value(2, quantity::time_of_flight, five_columns(second.asked.items[0].value * 1.3));
  page.value(2, quantity::range, "12", 0.33);
  EXPECT_TRUE(marking.add(read_page(page.view()), "a.png").read);
  EXPECT_EQ(marking.add(read_page(page.view()), "b.png").said,
            "=Zoë, \"Al\" <&>, page 1 again: read before from a.png; this one is skipped");
  EXPECT_EQ(marking.unmarked(), std::vector<std::string>{"Ann"});

  // Question 2's range, and the five values of page 2, are left to settle.
  const auto left = marking.unclear();
  ASSERT_FALSE(left.empty());
  EXPECT_EQ(left[0].question, 2);
  EXPECT_EQ(left[0].what, quantity::range);
  EXPECT_EQ(left[0].source, "a.png");
  EXPECT_EQ(left[1].why, "page 2 is not read");
  EXPECT_EQ(marking.settle(1, 2, quantity::range, "abc"), "? Expected a number such as 2.04.");
  EXPECT_EQ(marking.settle(1, 2, quantity::range, second.asked.items[1].printed.view()), "");

  const std::string csv = marking.csv();
  ASSERT_TRUE(
      csv.starts_with("\xEF\xBB\xBFname,version,set,total,unclear,q1,q1 time_of_flight,"
                      "q1 time_of_flight verdict,q1 range,"));
  const std::string row = csv.substr(csv.find("\r\n") + 2);
  const std::string expected =
      "\"'=Zoë, \"\"Al\"\" <&>\",2," + decimal(made.students[1].set) + "," +
      decimal(static_cast<std::uint32_t>(20 + 20 / static_cast<int>(second.asked.size))) + ",";
  EXPECT_TRUE(row.starts_with(expected)) << row;
  EXPECT_NE(row.find(",20," + five_columns(first.asked.items[0].value) + ",right,"),
            std::string::npos)
      << row;
  EXPECT_NE(row.find(",wrong,"), std::string::npos) << row;
  EXPECT_EQ(csv.find("Ann"), std::string::npos);
}

}  // namespace
}  // namespace projectile
