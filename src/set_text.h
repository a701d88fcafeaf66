// A set as plain text: the run's questions with their answers, as the console
// writes them, or a worksheet (the questions, then the key: a table of the
// values to mark with, and each worked answer under its number).
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "blocks.h"
#include "problem_set.h"

namespace projectile {

enum class text_form {
  run,        // questions and answers, from the first question's empty line on
  worksheet,  // the questions, a line "Answers", the key's table, each answer
};

// The set's first `count` questions (none for a count below 1) in `form`,
// made in one pass and handed to `write` in blocks of some kilobytes; false
// as soon as a write fails.
bool write_text(const problem_set& set, int count, text_form form, const block_sink& write);

// The answer key's table: a row per question, its number and each quantity
// as the worked answer prints it ("-" where the question does not ask it).
constexpr std::array<std::string_view, quantities.size() + 1> key_columns_of() noexcept {
  std::array<std::string_view, quantities.size() + 1> columns{"No."};
  for (std::size_t q = 0; q < quantities.size(); ++q) {
    columns[q + 1] = quantity_catalogue[q].heading;
  }
  return columns;
}
inline constexpr auto key_columns = key_columns_of();
std::array<std::string, key_columns.size()> key_row(const problem& p);
// The table of the set's first `count` questions: a column per header, each
// as wide as its widest cell, two spaces apart.
void append_key_table(text& out, const problem_set& set, int count);

}  // namespace projectile
