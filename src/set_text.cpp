#include "set_text.h"

#include <algorithm>
#include <cstddef>

#include "text.h"

namespace projectile {

void append_key_table(text& out, const problem_set& set, int count) {
  // Two passes over the rows, one for the widths and one to write them,
  // rather than keeping them: drawing a question costs less than a row's
  // formatting, and memory stays bounded whatever the count.
  std::array<std::size_t, key_columns.size()> widths{};
  for (std::size_t c = 0; c < key_columns.size(); ++c) {
    widths[c] = key_columns[c].size();
  }
  set.each(count, [&](int n, const question& q) {
    const auto row = key_row(problem_of(n, q));
    for (std::size_t c = 0; c < row.size(); ++c) {
      widths[c] = std::max(widths[c], row[c].size());
    }
    return true;
  });
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
  set.each(count, [&](int n, const question& q) {
    line(key_row(problem_of(n, q)));
    return true;
  });
}

bool write_text(const problem_set& set, int count, text_form form, const block_sink& write) {
  block_writer blocks(write);
  text& out = blocks.out();
  const bool questions_written = set.each(count, [&](int n, const question& q) {
    write_question(out, n, q);
    if (form == text_form::run) {
      write_answer(out, solve(q.params));
    }
    return blocks.flush();
  });
  if (!questions_written) {
    return false;
  }
  if (form == text_form::worksheet) {
    // The key: what a teacher marks with, a table of the asked values, then
    // each worked answer under its question's number; the same draws again
    // (a few nanoseconds each), so that memory stays bounded.
    out.append("\nAnswers\n\n");
    append_key_table(out, set, count);
    const bool answers_written = set.each(count, [&](int n, const question& q) {
      out.append("\n");
      out.append_i(n);
      out.append(".");
      write_answer(out, solve(q.params));
      return blocks.flush();
    });
    if (!answers_written) {
      return false;
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
