#include "answer_sheet.h"

#include <cmath>
#include <string_view>

#include "markup.h"
#include "problem_set.h"
#include "text.h"

namespace projectile {

namespace {

// A question's row: its number, then a block for each quantity in the same
// place on every row, so that a horizontal launch leaves the maximum
// height's place empty and the columns line up down the page.
constexpr double grid_top = 32;
constexpr double row_pitch = 45;
constexpr double first_block = 22;
constexpr double block_pitch = 35;
// Inside a block: its label, the boxes to write the value in, then the
// digit rows 0 to 9 and the point's row.
constexpr double label_baseline = 2.6;
constexpr double box_top = 3.6;
constexpr double box_height = 4.5;
constexpr double box_width = 4;
constexpr double first_column = 5;
constexpr double first_digit_row = 10.6;

constexpr double code_left = 20;
constexpr double code_top = 9;
constexpr double code_pitch = 2.8;
constexpr double code_row_pitch = 4;
constexpr int code_cells_a_row = code_bits / 2;

point block_of(int question, quantity what) noexcept {
  const int row = (question - 1) % questions_per_page;
  return {first_block + block_pitch * static_cast<double>(static_cast<int>(what)),
          grid_top + row_pitch * static_cast<double>(row)};
}

double column_x(point block, int column) noexcept {
  return block.x + first_column + column_pitch * static_cast<double>(column - 1);
}

double row_y(point block, int row) noexcept {
  return block.y + first_digit_row + digit_pitch * static_cast<double>(row);
}

// The CRC-16 of CCITT (polynomial 0x1021, from 0xFFFF): any one, two or
// three flipped bits, and any run of 16 or fewer, change it.
std::uint16_t check_of(const std::array<bool, code_bits>& bits) noexcept {
  std::uint16_t crc = 0xFFFF;
  for (int i = 0; i < code_bits - 16; ++i) {
    const bool top = (crc & 0x8000U) != 0;
    crc = static_cast<std::uint16_t>(crc << 1U);
    if (top != bits[static_cast<std::size_t>(i)]) {
      crc ^= 0x1021U;
    }
  }
  return crc;
}

// Millimetres to a hundredth, "12.3" or "7": the same digits everywhere.
void append_mm(text& out, double mm) {
  const long whole_hundredths = std::lround(mm * 100);
  out.append_i(static_cast<int>(whole_hundredths / 100));
  const int rest = static_cast<int>(whole_hundredths % 100);
  if (rest != 0) {
    out.append(".");
    out.append(std::string_view("0123456789").substr(static_cast<std::size_t>(rest / 10), 1));
    if (rest % 10 != 0) {
      out.append(std::string_view("0123456789").substr(static_cast<std::size_t>(rest % 10), 1));
    }
  }
}

void append_at(text& out, std::string_view x_name, double x, std::string_view y_name, double y) {
  out.append(" ");
  out.append(x_name);
  out.append("=\"");
  append_mm(out, x);
  out.append("\" ");
  out.append(y_name);
  out.append("=\"");
  append_mm(out, y);
  out.append("\"");
}

void square(text& out, point centre, double side) {
  out.append("<rect");
  append_at(out, "x", centre.x - side / 2, "y", centre.y - side / 2);
  append_at(out, "width", side, "height", side);
  out.append("/>\n");
}

void words(text& out, point at, double size, std::string_view anchor, std::string_view plain) {
  out.append("<text");
  append_at(out, "x", at.x, "y", at.y);
  out.append(" font-size=\"");
  append_mm(out, size);
  out.append("\"");
  if (!anchor.empty()) {
    out.append(" text-anchor=\"");
    out.append(anchor);
    out.append("\"");
  }
  out.append(">");
  append_xml(out, plain);
  out.append("</text>\n");
}

void bubble(text& out, point at, int question, quantity what) {
  out.append("<circle");
  append_at(out, "cx", at.x, "cy", at.y);
  out.append(" r=\"");
  append_mm(out, bubble_radius);
  out.append("\" data-question=\"");
  out.append_i(question);
  out.append("\" data-value=\"");
  out.append(id_of(what));
  out.append("\"");
}

void value_block(text& out, int question, quantity what) {
  const point block = block_of(question, what);
  words(out, {block.x, block.y + label_baseline}, 2.3, "", words_of(what).heading);
  out.append("<g fill=\"none\" stroke=\"#000\" stroke-width=\"0.2\">\n");
  for (int column = 1; column <= digit_columns; ++column) {
    out.append("<rect");
    append_at(out, "x", column_x(block, column) - box_width / 2, "y", block.y + box_top);
    append_at(out, "width", box_width, "height", box_height);
    out.append("/>\n");
  }
  out.append("</g>\n<g fill=\"#777\" font-size=\"2.2\" text-anchor=\"middle\">\n");
  for (int row = 0; row <= 10; ++row) {
    out.append("<text");
    append_at(out, "x", block.x + 1.6, "y", row_y(block, row) + 0.8);
    out.append(">");
    out.append(row == 10 ? std::string_view(".")
                         : std::string_view("0123456789").substr(static_cast<std::size_t>(row), 1));
    out.append("</text>\n");
  }
  out.append("</g>\n<g fill=\"#fff\" stroke=\"#000\" stroke-width=\"0.2\">\n");
  for (int column = 1; column <= digit_columns; ++column) {
    for (int digit = 0; digit <= 9; ++digit) {
      bubble(out, digit_bubble(question, what, column, digit), question, what);
      out.append(" data-column=\"");
      out.append_i(column);
      out.append("\" data-digit=\"");
      out.append_i(digit);
      out.append("\"/>\n");
    }
  }
  for (int column = 1; column < digit_columns; ++column) {
    bubble(out, point_bubble(question, what, column), question, what);
    out.append(" data-point=\"");
    out.append_i(column);
    out.append("\"/>\n");
  }
  out.append("</g>\n");
}

}  // namespace

std::array<point, 4> mark_centres(paper p) noexcept {
  const paper_size size = size_of(p);
  constexpr double in = mark_inset + mark_side / 2;
  return {{{in, in},
           {size.width - in, in},
           {size.width - in, size.height - in},
           {in, size.height - in}}};
}

point code_cell(int bit) noexcept {
  return {code_left + code_cell_side / 2 + code_pitch * static_cast<double>(bit % code_cells_a_row),
          code_top + code_row_pitch * (bit < code_cells_a_row ? 0.0 : 1.0)};
}

std::array<bool, code_bits> bits_of(const sheet_code& code) noexcept {
  std::array<bool, code_bits> bits{};
  int at = 0;
  const auto put = [&](std::uint32_t value, int width) {
    for (int b = width - 1; b >= 0; --b) {
      bits[static_cast<std::size_t>(at++)] = ((value >> static_cast<unsigned>(b)) & 1U) != 0;
    }
  };
  put(code.set, 32);
  put(static_cast<std::uint32_t>(code.version), 16);
  put(static_cast<std::uint32_t>(code.page), 15);
  put(code.size == paper::letter ? 1 : 0, 1);
  put(static_cast<std::uint32_t>(code.count), 16);
  put(check_of(bits), 16);
  return bits;
}

std::optional<sheet_code> code_of(const std::array<bool, code_bits>& bits) noexcept {
  int at = 0;
  const auto take = [&](int width) {
    std::uint32_t value = 0;
    for (int b = 0; b < width; ++b) {
      value = (value << 1U) | (bits[static_cast<std::size_t>(at++)] ? 1U : 0U);
    }
    return value;
  };
  sheet_code code{};
  code.set = take(32);
  code.version = static_cast<int>(take(16));
  code.page = static_cast<int>(take(15));
  code.size = take(1) != 0 ? paper::letter : paper::a4;
  code.count = static_cast<int>(take(16));
  if (take(16) != check_of(bits) || code.version < 1 || code.count < 1 || code.page < 1 ||
      code.page > pages_of(code.count)) {
    return std::nullopt;
  }
  return code;
}

point digit_bubble(int question, quantity what, int column, int digit) noexcept {
  const point block = block_of(question, what);
  return {column_x(block, column), row_y(block, digit)};
}

point point_bubble(int question, quantity what, int column) noexcept {
  const point block = block_of(question, what);
  return {column_x(block, column) + column_pitch / 2, row_y(block, 10)};
}

std::string answer_page(const handout& made, const student& who, int page, paper size) {
  const paper_size extent = size_of(size);
  const int pages = pages_of(made.count);
  text out;
  out.append(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\"");
  out.append(" width=\"");
  append_mm(out, extent.width);
  out.append("mm\" height=\"");
  append_mm(out, extent.height);
  out.append("mm\" viewBox=\"0 0 ");
  append_mm(out, extent.width);
  out.append(" ");
  append_mm(out, extent.height);
  out.append("\" font-family=\"sans-serif\">\n<title>");
  // "Set S, version V, page P of N"; a set alone has no version.
  std::string which = joined("Set ", decimal(made.set));
  if (made.of_class) {
    which += ", version ";
    which += decimal(static_cast<std::uint32_t>(who.version));
  }
  which += ", page ";
  which += decimal(static_cast<std::uint32_t>(page));
  which += " of ";
  which += decimal(static_cast<std::uint32_t>(pages));
  out.append("Answer sheet: ");
  if (made.of_class) {
    append_xml(out, who.name);
    out.append(", ");
  }
  append_xml(out, which);
  out.append("</title>\n<rect width=\"100%\" height=\"100%\" fill=\"#fff\"/>\n<g fill=\"#000\">\n");
  for (const point centre : mark_centres(size)) {
    square(out, centre, mark_side);
  }
  const auto bits = bits_of({made.set, who.version, page, made.count, size});
  for (int bit = 0; bit < code_bits; ++bit) {
    if (bits[static_cast<std::size_t>(bit)]) {
      square(out, code_cell(bit), code_cell_side);
    }
  }
  out.append("</g>\n");
  words(out, {12, 21}, 3.6, "",
        made.of_class ? joined("Name: ", who.name) : "Name: ____________________");
  words(out, {12, 26}, 3, "", which);
  words(out, {12, 30}, 2.4, "",
        "Write each value in the boxes, then fill one bubble a column from the left, and the "
        "point's bubble where the point stands.");
  (void)problem_set(who.set).each(
      std::min(made.count, page * questions_per_page), [&](int n, const question& q) {
        if (n > (page - 1) * questions_per_page) {
          const point first = block_of(n, quantity::time_of_flight);
          words(out, {first.x - 3, first.y + 8}, 4, "end", decimal(static_cast<std::uint32_t>(n)));
          for (const quantity asked : quantities) {
            if (asks_for(q.type, asked)) {
              value_block(out, n, asked);
            }
          }
        }
        return true;
      });
  out.append("</svg>\n");
  return std::string(out.view());
}

}  // namespace projectile
