#include "set_text.h"

#include <algorithm>
#include <cstddef>

#include "text.h"

namespace projectile {

void append_key_table(text& out, const problem_set& set, int count) {
  // Two passes over the rows, one for the widths and one to write them,
  // rather than keeping them: reaching a question costs less than a row's
  // formatting, and memory stays bounded whatever the count.
  std::array<std::size_t, key_columns.size()> widths{};
  for (std::size_t c = 0; c < key_columns.size(); ++c) {
    widths[c] = key_columns[c].size();
  }
  for (int n = 1; n <= count; ++n) {
    const auto row = key_row(set.at(n));
    for (std::size_t c = 0; c < row.size(); ++c) {
      widths[c] = std::max(widths[c], row[c].size());
    }
  }
  const auto line = [&](const auto& cells) {
    for (std::size_t c = 0; c < cells.size(); ++c) {
      const std::string_view cell = cells[c];
      out.append(cell);
      if (c + 1 < cells.size()) {
        for (std::size_t pad = cell.size(); pad < widths[c] + 2; ++pad) {
          out.append(" ");
        }
      }
    }
    out.append("\n");
  };
  line(key_columns);
  for (int n = 1; n <= count; ++n) {
    line(key_row(set.at(n)));
  }
}

bool write_text(const problem_set& set, int count, text_form form, const block_sink& write) {
  block_writer blocks(write);
  text& out = blocks.out();
  crt_rand raw{set.number()};
  // Counted in long long: an int would overflow after a count of INT_MAX.
  for (long long n = 1; n <= count; ++n) {
    const question q = draw_question(raw);
    write_question(out, static_cast<int>(n), q);
    if (form == text_form::run) {
      write_answer(out, solve(q.params));
    }
    if (!blocks.flush()) {
      return false;
    }
  }
  if (form == text_form::worksheet) {
    // The key: what a teacher marks with, a table of the asked values, then
    // each worked answer under its question's number; the same draws again
    // (a few nanoseconds each), so that memory stays bounded.
    out.append("\nAnswers\n\n");
    append_key_table(out, set, count);
    raw = crt_rand{set.number()};
    for (long long n = 1; n <= count; ++n) {
      const question q = draw_question(raw);
      out.append("\n");
      out.append_i(static_cast<int>(n));
      out.append(".");
      write_answer(out, solve(q.params));
      if (!blocks.flush()) {
        return false;
      }
    }
  }
  return blocks.flush(true);
}

std::array<std::string, key_columns.size()> key_row(const problem& p) {
  std::array<std::string, key_columns.size()> row;
  // "-" where not asked. (Filled with a count and a character: GCC 12 warns
  // falsely, -Wrestrict, of assigning "-" on some targets.)
  row.fill(std::string(1, '-'));
  row[0] = decimal(static_cast<std::uint32_t>(p.number));
  for (const asked_value& asked : p.asked.view()) {
    row[1 + static_cast<std::size_t>(asked.what)] = std::string(asked.printed.view());
  }
  return row;
}

}  // namespace projectile
