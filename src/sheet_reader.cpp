#include "sheet_reader.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numeric>

namespace projectile {

namespace {

// A bubble is read by the mean darkness of a disc inside its outline, 0 for
// the paper and 1 for black. Pen and pencil filled 60 % or more come out
// above `filled`; the paper, an erased bubble's grey trace and the noise of
// a scan below `empty`; between the two is a mark no one should guess at.
constexpr double filled = 0.45;
constexpr double empty = 0.25;
constexpr double read_radius = 0.6 * bubble_radius;
// The paper between four bubbles, where a bubble's neighbours leave most of
// it: half a column and half a digit row away.
constexpr double hole_x = column_pitch / 2;
constexpr double hole_y = digit_pitch / 2;

// The longer side of the copy the marks are looked for in: an A4 page at
// 70 dpi, a mark 20 pixels across.
constexpr int finding_side = 800;

}  // namespace

// A mark as the image shows it: its centre, and its area, in the image's
// pixels.
struct page_scan::mark_seen {
  point at;
  double area;
};

namespace {

struct blob {
  long long area = 0;
  double sum_x = 0;
  double sum_y = 0;
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// The solid dark blobs of an image, by a threshold that follows the light
// across it: a pixel is dark when it is well below the mean around it, so a
// shadow or a lamp's fall-off does not darken the paper.
std::vector<blob> solid_blobs(const std::vector<float>& gray, int width, int height) {
  const auto w = static_cast<std::size_t>(width);
  const auto h = static_cast<std::size_t>(height);
  std::vector<double> sums((w + 1) * (h + 1), 0.0);
  for (std::size_t y = 0; y < h; ++y) {
    double row = 0;
    for (std::size_t x = 0; x < w; ++x) {
      row += static_cast<double>(gray[y * w + x]);
      sums[(y + 1) * (w + 1) + x + 1] = sums[y * (w + 1) + x + 1] + row;
    }
  }
  const int half = std::max(width, height) / 24 + 1;
  std::vector<int> label(w * h, -1);
  std::vector<int> parent;
  const auto find = [&](int i) {
    while (parent[static_cast<std::size_t>(i)] != i) {
      parent[static_cast<std::size_t>(i)] =
          parent[static_cast<std::size_t>(parent[static_cast<std::size_t>(i)])];
      i = parent[static_cast<std::size_t>(i)];
    }
    return i;
  };
  for (int y = 0; y < height; ++y) {
    const auto y0 = static_cast<std::size_t>(std::max(0, y - half));
    const auto y1 = static_cast<std::size_t>(std::min(height, y + half + 1));
    for (int x = 0; x < width; ++x) {
      const auto x0 = static_cast<std::size_t>(std::max(0, x - half));
      const auto x1 = static_cast<std::size_t>(std::min(width, x + half + 1));
      const double area = static_cast<double>((y1 - y0) * (x1 - x0));
      const double mean = (sums[y1 * (w + 1) + x1] - sums[y0 * (w + 1) + x1] -
                           sums[y1 * (w + 1) + x0] + sums[y0 * (w + 1) + x0]) /
                          area;
      const std::size_t at = static_cast<std::size_t>(y) * w + static_cast<std::size_t>(x);
      if (static_cast<double>(gray[at]) >= 0.6 * mean) {
        continue;
      }
      const int up = y > 0 ? label[at - w] : -1;
      const int left = x > 0 ? label[at - 1] : -1;
      if (up < 0 && left < 0) {
        label[at] = static_cast<int>(parent.size());
        parent.push_back(label[at]);
      } else if (up < 0 || left < 0) {
        label[at] = std::max(up, left);
      } else {
        const int a = find(up);
        const int b = find(left);
        parent[static_cast<std::size_t>(std::max(a, b))] = std::min(a, b);
        label[at] = std::min(a, b);
      }
    }
  }
  std::vector<blob> blobs(parent.size());
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const int l = label[static_cast<std::size_t>(y) * w + static_cast<std::size_t>(x)];
      if (l < 0) {
        continue;
      }
      blob& b = blobs[static_cast<std::size_t>(find(l))];
      if (b.area == 0) {
        b.left = b.right = x;
        b.top = b.bottom = y;
      }
      ++b.area;
      b.sum_x += x;
      b.sum_y += y;
      b.left = std::min(b.left, x);
      b.right = std::max(b.right, x);
      b.top = std::min(b.top, y);
      b.bottom = std::max(b.bottom, y);
    }
  }
  // Solid and squarish: a mark, turned a little or seen slanted, fills
  // more than half its box.
  std::erase_if(blobs, [](const blob& b) {
    const int across = b.right - b.left + 1;
    const int down = b.bottom - b.top + 1;
    return b.area < 16 || across > 2 * down || down > 2 * across ||
           static_cast<double>(b.area) < 0.55 * across * down;
  });
  std::sort(blobs.begin(), blobs.end(),
            [](const blob& a, const blob& b) { return a.area > b.area; });
  return blobs;
}

// The map that takes the four points `from` to `to` (a plane's perspective
// view), as the 3 x 3 matrix with its last entry 1; all zeros when the
// points are degenerate.
std::array<double, 9> homography(const std::array<point, 4>& from, const std::array<point, 4>& to) {
  std::array<std::array<double, 9>, 8> rows{};
  for (std::size_t i = 0; i < 4; ++i) {
    const double x = from[i].x;
    const double y = from[i].y;
    const double u = to[i].x;
    const double v = to[i].y;
    rows[2 * i] = {x, y, 1, 0, 0, 0, -u * x, -u * y, u};
    rows[2 * i + 1] = {0, 0, 0, x, y, 1, -v * x, -v * y, v};
  }
  for (std::size_t col = 0; col < 8; ++col) {
    std::size_t pivot = col;
    for (std::size_t r = col + 1; r < 8; ++r) {
      if (std::fabs(rows[r][col]) > std::fabs(rows[pivot][col])) {
        pivot = r;
      }
    }
    if (std::fabs(rows[pivot][col]) < 1e-12) {
      return {};
    }
    std::swap(rows[col], rows[pivot]);
    for (std::size_t r = 0; r < 8; ++r) {
      if (r != col) {
        const double f = rows[r][col] / rows[col][col];
        for (std::size_t c = col; c < 9; ++c) {
          rows[r][c] -= f * rows[col][c];
        }
      }
    }
  }
  std::array<double, 9> m{};
  for (std::size_t i = 0; i < 8; ++i) {
    m[i] = rows[i][8] / rows[i][i];
  }
  m[8] = 1;
  return m;
}

}  // namespace

page_scan::page_scan(const image_view& image) : image_(image) {
  if (image.width < 32 || image.height < 32 || (image.channels != 1 && image.channels != 4) ||
      image.pixels.size() < static_cast<std::size_t>(image.width) *
                                static_cast<std::size_t>(image.height) *
                                static_cast<std::size_t>(image.channels)) {
    image_ = {0, 0, 1, {}};
    return;
  }
  // The marks are looked for in a small copy, each of its pixels the mean
  // of a square of the image's: a mark is still 15 pixels or more across.
  const int shrink = (std::max(image.width, image.height) + finding_side - 1) / finding_side;
  const int width = image.width / shrink;
  const int height = image.height / shrink;
  std::vector<float> small(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  const auto channels = static_cast<std::size_t>(image.channels);
  const auto stride = static_cast<std::size_t>(image.width) * channels;
  std::vector<unsigned> row(static_cast<std::size_t>(width));
  for (int y = 0; y < height; ++y) {
    std::fill(row.begin(), row.end(), 0U);
    for (int dy = 0; dy < shrink; ++dy) {
      const std::uint8_t* p =
          image.pixels.data() + static_cast<std::size_t>(y * shrink + dy) * stride;
      for (std::size_t x = 0; x < row.size(); ++x) {
        for (int dx = 0; dx < shrink; ++dx, p += channels) {
          row[x] += p[channels == 4 ? 1 : 0];
        }
      }
    }
    for (std::size_t x = 0; x < row.size(); ++x) {
      small[static_cast<std::size_t>(y) * row.size() + x] =
          static_cast<float>(row[x]) / static_cast<float>(shrink * shrink);
    }
  }
  // The marks are the largest solid blobs; the page's corners, those of the
  // largest few that lie furthest towards each corner of the image.
  std::vector<blob> blobs = solid_blobs(small, width, height);
  blobs.resize(std::min<std::size_t>(blobs.size(), 8));
  if (blobs.size() < 4) {
    return;
  }
  // A blob as a mark seen: its centre and area in the image's pixels.
  const auto seen = [&](const blob& b) {
    return mark_seen{{(b.sum_x / static_cast<double>(b.area) + 0.5) * shrink - 0.5,
                      (b.sum_y / static_cast<double>(b.area) + 0.5) * shrink - 0.5},
                     static_cast<double>(b.area) * shrink * shrink};
  };
  const auto corner_by = [&](double sx, double sy) {
    return seen(*std::max_element(blobs.begin(), blobs.end(), [&](const blob& a, const blob& b) {
      const point pa = seen(a).at;
      const point pb = seen(b).at;
      return sx * pa.x + sy * pa.y < sx * pb.x + sy * pb.y;
    }));
  };
  if (try_marks({corner_by(-1, -1), corner_by(1, -1), corner_by(1, 1), corner_by(-1, 1)})) {
    return;
  }
  // Something else dark near the page (a photo's desk): any four of the
  // largest, taken round their middle.
  const std::size_t n = blobs.size();
  for (std::size_t a = 0; a < n; ++a) {
    for (std::size_t b = a + 1; b < n; ++b) {
      for (std::size_t c = b + 1; c < n; ++c) {
        for (std::size_t d = c + 1; d < n; ++d) {
          std::array<mark_seen, 4> four = {seen(blobs[a]), seen(blobs[b]), seen(blobs[c]),
                                           seen(blobs[d])};
          const double mx = (four[0].at.x + four[1].at.x + four[2].at.x + four[3].at.x) / 4;
          const double my = (four[0].at.y + four[1].at.y + four[2].at.y + four[3].at.y) / 4;
          std::sort(four.begin(), four.end(), [&](const mark_seen& p, const mark_seen& q) {
            return std::atan2(p.at.y - my, p.at.x - mx) < std::atan2(q.at.y - my, q.at.x - mx);
          });
          if (try_marks(four)) {
            return;
          }
        }
      }
    }
  }
}

// `corners` in turn round the page (clockwise as the image shows it): the
// page is one of four ways round on A4 or Letter; the code that checks says
// which. Each mark must then be about the size the map makes a mark there:
// a mark run into a scribble or a smudge would move its centre, and every
// bubble with it, so such a page is not read at all.
bool page_scan::try_marks(const std::array<mark_seen, 4>& corners) {
  for (const paper size : {paper::a4, paper::letter}) {
    const std::array<point, 4> marks = mark_centres(size);
    for (std::size_t turn = 0; turn < 4; ++turn) {
      std::array<point, 4> at{};
      for (std::size_t i = 0; i < 4; ++i) {
        at[i] = corners[(i + turn) % 4].at;
      }
      page_to_image_ = homography(marks, at);
      if (page_to_image_[8] == 0) {
        continue;
      }
      std::array<bool, code_bits> bits{};
      for (int bit = 0; bit < code_bits; ++bit) {
        const point c = code_cell(bit);
        bits[static_cast<std::size_t>(bit)] = darkness(c, code_cell_side / 3,
                                                       {{{c.x - 0.5, c.y - 2},
                                                         {c.x + 0.5, c.y - 2},
                                                         {c.x - 0.5, c.y + 2},
                                                         {c.x + 0.5, c.y + 2}}}) > 0.5;
      }
      const auto read = code_of(bits);
      if (!read || read->size != size) {
        continue;
      }
      for (std::size_t i = 0; i < 4; ++i) {
        const point m = marks[i];
        constexpr double half = mark_side / 2;
        const point a = to_image({m.x - half, m.y - half});
        const point b = to_image({m.x + half, m.y - half});
        const point c = to_image({m.x + half, m.y + half});
        const point d = to_image({m.x - half, m.y + half});
        const double expected = std::fabs((a.x * b.y - b.x * a.y) + (b.x * c.y - c.x * b.y) +
                                          (c.x * d.y - d.x * c.y) + (d.x * a.y - a.x * d.y)) /
                                2;
        const double ratio = corners[(i + turn) % 4].area / expected;
        if (!(ratio > 0.7 && ratio < 1.4)) {
          return false;
        }
      }
      code_ = read;
      return true;
    }
  }
  return false;
}

point page_scan::to_image(point at) const {
  const std::array<double, 9>& m = page_to_image_;
  const double w = m[6] * at.x + m[7] * at.y + m[8];
  return {(m[0] * at.x + m[1] * at.y + m[2]) / w, (m[3] * at.x + m[4] * at.y + m[5]) / w};
}

// The gray at `at`, bilinear between pixels; the paper's white outside the
// image, where nothing is filled.
double page_scan::level(point at) const {
  const point p = to_image(at);
  if (!(p.x >= 0 && p.y >= 0 && p.x <= image_.width - 1 && p.y <= image_.height - 1)) {
    return 255;
  }
  const auto x0 = static_cast<int>(p.x);
  const auto y0 = static_cast<int>(p.y);
  const int x1 = std::min(x0 + 1, image_.width - 1);
  const int y1 = std::min(y0 + 1, image_.height - 1);
  const double fx = p.x - x0;
  const double fy = p.y - y0;
  // The green of a colour image: the most of the light, and the least noise.
  const auto channels = static_cast<std::size_t>(image_.channels);
  const std::size_t green = channels == 4 ? 1 : 0;
  const auto g = [&](int x, int y) {
    return static_cast<double>(
        image_.pixels[(static_cast<std::size_t>(y) * static_cast<std::size_t>(image_.width) +
                       static_cast<std::size_t>(x)) *
                          channels +
                      green]);
  };
  return (g(x0, y0) * (1 - fx) + g(x1, y0) * fx) * (1 - fy) +
         (g(x0, y1) * (1 - fx) + g(x1, y1) * fx) * fy;
}

// The mean gray of the disc of `radius` mm about `at`, from 21 points
// spread over it.
double page_scan::mean_level(point at, double radius) const {
  double sum = 0;
  int n = 0;
  for (int dy = -2; dy <= 2; ++dy) {
    for (int dx = -2; dx <= 2; ++dx) {
      if (dx * dx + dy * dy <= 5) {
        sum += level({at.x + radius * dx / 2, at.y + radius * dy / 2});
        ++n;
      }
    }
  }
  return sum / n;
}

// How dark the disc of `radius` mm about `at` is, 0 the paper and 1 black,
// against the paper at the four corners of a box about it where nothing is
// printed or filled (top left, top right, bottom left, bottom right). The
// paper is taken as changing evenly across the box, so that a shadow's edge
// over a bubble does not make it look filled; a corner far darker than the
// other three is a neighbour's spill, and is not paper.
double page_scan::darkness(point at, double radius, const std::array<point, 4>& paper) const {
  std::array<double, 4> white{};
  for (std::size_t i = 0; i < 4; ++i) {
    white[i] = mean_level(paper[i], 0.3);
  }
  for (std::size_t i = 0; i < 4; ++i) {
    double others = 255;
    double sum = 0;
    for (std::size_t j = 0; j < 4; ++j) {
      if (j != i) {
        others = std::min(others, white[j]);
        sum += white[j];
      }
    }
    if (white[i] < 0.8 * others) {
      white[i] = sum / 3;
    }
  }
  double sum = 0;
  int n = 0;
  for (int dy = -2; dy <= 2; ++dy) {
    for (int dx = -2; dx <= 2; ++dx) {
      if (dx * dx + dy * dy <= 5) {
        const point p = {at.x + radius * dx / 2, at.y + radius * dy / 2};
        const double u = std::clamp((p.x - paper[0].x) / (paper[1].x - paper[0].x), 0.0, 1.0);
        const double v = std::clamp((p.y - paper[0].y) / (paper[2].y - paper[0].y), 0.0, 1.0);
        const double here =
            (white[0] * (1 - u) + white[1] * u) * (1 - v) + (white[2] * (1 - u) + white[3] * u) * v;
        sum += 1 - level(p) / std::max(here, 16.0);
        ++n;
      }
    }
  }
  return std::clamp(sum / n, 0.0, 1.0);
}

value_read page_scan::value(int question, quantity what) const {
  // What a row of bubbles holds: the one filled (-1 none), or why unclear.
  struct row_read {
    int chosen;
    std::string why;
  };
  // The point's row has paper beside each of its bubbles, where the digit
  // rows have bubbles: its holes are level with it and below.
  const auto read_row = [&](int size, auto at, double upper_hole) -> row_read {
    int darkest = -1;
    double most = 0;
    double next = 0;
    for (int i = 0; i < size; ++i) {
      const point c = at(i);
      const double d = darkness(c, read_radius,
                                {{{c.x - hole_x, c.y - upper_hole},
                                  {c.x + hole_x, c.y - upper_hole},
                                  {c.x - hole_x, c.y + hole_y},
                                  {c.x + hole_x, c.y + hole_y}}});
      if (d > most) {
        next = most;
        most = d;
        darkest = i;
      } else if (d > next) {
        next = d;
      }
    }
    if (most < empty) {
      return {-1, ""};
    }
    if (next >= filled) {
      return {-1, "two bubbles filled"};
    }
    if (most < filled || next >= empty) {
      return {-1, "a faint mark"};
    }
    return {darkest, ""};
  };
  std::string digits;
  int first_blank = 0;
  for (int column = 1; column <= digit_columns; ++column) {
    const row_read read = read_row(
        10, [&](int digit) { return digit_bubble(question, what, column, digit); }, hole_y);
    if (!read.why.empty()) {
      return {bubbles::unclear, "",
              joined(read.why, " in column ", decimal(static_cast<std::uint32_t>(column)))};
    }
    if (read.chosen < 0) {
      first_blank = first_blank == 0 ? column : first_blank;
    } else if (first_blank != 0) {
      return {bubbles::unclear, "",
              joined("column ", decimal(static_cast<std::uint32_t>(first_blank)),
                     " is empty before a digit")};
    } else {
      digits += static_cast<char>('0' + read.chosen);
    }
  }
  const row_read point_read = read_row(
      digit_columns - 1, [&](int i) { return point_bubble(question, what, i + 1); }, 0);
  if (!point_read.why.empty()) {
    return {bubbles::unclear, "", joined(point_read.why, " in the point's row")};
  }
  if (digits.empty()) {
    if (point_read.chosen >= 0) {
      return {bubbles::unclear, "", "a point without digits"};
    }
    return {bubbles::blank, "", ""};
  }
  if (point_read.chosen >= 0) {
    const auto after = static_cast<std::size_t>(point_read.chosen) + 1;
    if (after > digits.size()) {
      return {bubbles::unclear, "", "the point stands after an empty column"};
    }
    const std::string_view whole = digits;
    digits = joined(whole.substr(0, after), ".", whole.substr(after));
  }
  return {bubbles::clear, digits, ""};
}

pixel_quad page_scan::where(int question, quantity what) const {
  const point top = digit_bubble(question, what, 1, 0);
  const double left = top.x - 5;
  const double right = digit_bubble(question, what, digit_columns, 0).x + 3;
  const double upper = top.y - 10;
  const double lower = point_bubble(question, what, 1).y + 2;
  pixel_quad quad{};
  const std::array<point, 4> corners = {
      {{left, upper}, {right, upper}, {right, lower}, {left, lower}}};
  for (std::size_t i = 0; i < 4; ++i) {
    const point p = to_image(corners[i]);
    quad[i] = p;
  }
  return quad;
}

page_read read_page(const image_view& image) {
  const page_scan scan(image);
  page_read read{scan.code(), 0, {}, {}};
  if (!read.code) {
    return read;
  }
  read.first_question = (read.code->page - 1) * questions_per_page + 1;
  const int last = std::min(read.code->count, read.code->page * questions_per_page);
  for (int n = read.first_question; n <= last; ++n) {
    auto& values = read.values.emplace_back();
    auto& where = read.where.emplace_back();
    for (const quantity what : quantities) {
      values[static_cast<std::size_t>(what)] = scan.value(n, what);
      where[static_cast<std::size_t>(what)] = scan.where(n, what);
    }
  }
  return read;
}

}  // namespace projectile
