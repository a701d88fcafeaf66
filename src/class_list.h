// A class list: the students' names as a teacher exports them, one a line, or
// a spreadsheet's or learning platform's CSV with a header row. Every name is
// checked, and a list that will not do is refused, naming the line.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "class_set.h"

namespace projectile {

inline constexpr std::size_t most_name_characters = 100;

enum class list_format {
  // A name on each line; or, when the lines hold tabs (a spreadsheet's
  // cells pasted), columns: a first line with a column headed "Name" or
  // "Student" picks that column and is skipped, else the first column.
  lines,
  csv,  // comma-separated, a header first; the column "Name" or "Student", else the first
};

// The names in `contents`, the file's bytes: UTF-8 with or without a
// byte-order mark, LF or CR LF, blank lines skipped, blanks around a name
// dropped; in CSV and pasted columns, fields quoted as RFC 4180 quotes them
// ("Lee, Sam"). Or the one-line reason the list is refused: a name with a
// tab or another control character, of invalid UTF-8 or over 100
// characters, the same name twice, more than most_versions names, or none,
// each with the line it is on.
std::variant<std::vector<std::string>, std::string> read_class_list(std::string_view contents,
                                                                    list_format format);

}  // namespace projectile
