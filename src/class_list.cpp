#include "class_list.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "text.h"

namespace projectile {

namespace {

// What is wrong with a name, if anything: its bytes must be UTF-8 (no
// overlong form, no surrogate, nothing past U+10FFFF), hold no control
// character (C0, DEL or C1) and be at most most_name_characters characters.
std::optional<std::string> fault_of(std::string_view name) {
  std::size_t characters = 0;
  for (std::size_t i = 0; i < name.size(); ++characters) {
    const auto lead = static_cast<unsigned char>(name[i]);
    std::size_t length = 1;
    std::uint32_t code = lead;
    if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      code = lead & 0x07U;
    } else if (lead >= 0xE0) {
      length = lead <= 0xEF ? 3 : 0;
      code = lead & 0x0FU;
    } else if (lead >= 0xC2) {
      length = 2;
      code = lead & 0x1FU;
    } else if (lead >= 0x80) {
      length = 0;
    }
    if (length == 0 || i + length > name.size()) {
      return "is not UTF-8";
    }
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(name[i + k]);
      if ((next & 0xC0U) != 0x80U) {
        return "is not UTF-8";
      }
      code = code << 6U | (next & 0x3FU);
    }
    const std::uint32_t least = length == 4 ? 0x10000 : length == 3 ? 0x800 : 0;
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
      return "is not UTF-8";
    }
    if (code == '\t') {
      return "holds a tab";
    }
    if (code < 0x20 || (code >= 0x7F && code <= 0x9F)) {
      return "holds a control character";
    }
    i += length;
  }
  if (characters > most_name_characters) {
    return "is longer than " + decimal(static_cast<std::uint32_t>(most_name_characters)) +
           " characters";
  }
  return std::nullopt;
}

std::string_view trimmed(std::string_view s) {
  constexpr std::string_view blanks = " \t";
  const auto first = s.find_first_not_of(blanks);
  if (first == std::string_view::npos) {
    return {};
  }
  return s.substr(first, s.find_last_not_of(blanks) + 1 - first);
}

// One record from `at` on, its fields parted by `separator` (a comma, or a
// tab as a spreadsheet's cells are pasted; a line end for a line a record)
// and unquoted; `at` moves past its line end, and `lines` counts the line
// ends inside its fields. Between separators, a field that starts with a
// quote may hold separators, quotes ("") and line ends; a quote anywhere else
// is the character itself, and a plain line's quotes are all its own.
std::vector<std::string> csv_record(std::string_view all, std::size_t& at, std::size_t& lines,
                                    char separator) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  bool field_start = true;
  for (; at < all.size(); ++at) {
    const char c = all[at];
    if (quoted) {
      if (c == '"' && at + 1 < all.size() && all[at + 1] == '"') {
        fields.back() += '"';
        ++at;
      } else if (c == '"') {
        quoted = false;
      } else {
        lines += c == '\n' ? 1 : 0;
        fields.back() += c;
      }
    } else if (c == '\n') {
      ++at;
      break;
    } else if (c == '"' && field_start && separator != '\n') {
      quoted = true;
    } else if (c == separator) {
      fields.emplace_back();
      field_start = true;
      continue;
    } else if (c != '\r' || (at + 1 < all.size() && all[at + 1] != '\n')) {
      fields.back() += c;
    }
    field_start = false;
  }
  return fields;
}

std::string lowered(std::string_view s) {
  std::string low(s);
  std::transform(low.begin(), low.end(), low.begin(), [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  });
  return low;
}

std::string on_line(std::size_t line, std::string_view what) {
  return "line " + decimal(static_cast<std::uint32_t>(line)) + ": " + std::string(what);
}

}  // namespace

std::variant<std::vector<std::string>, std::string> read_class_list(std::string_view contents,
                                                                    list_format format) {
  constexpr std::string_view byte_order_mark = "\xEF\xBB\xBF";
  if (contents.starts_with(byte_order_mark)) {
    contents.remove_prefix(byte_order_mark.size());
  }
  std::vector<std::string> names;
  std::vector<std::size_t> name_lines;
  // A CSV file's first record is its header; pasted lines are read as
  // columns when they hold tabs, and their first line is a header only when
  // a column of it is headed Name or Student. Either picks that column, else
  // the first.
  const bool csv = format == list_format::csv;
  const char separator = csv ? ',' : contents.find('\t') != std::string_view::npos ? '\t' : '\n';
  std::optional<std::size_t> column;  // once the first record is read
  std::size_t line = 1;
  for (std::size_t at = 0; at < contents.size();) {
    const std::size_t starts = line;
    std::size_t inside = 0;
    const std::vector<std::string> fields = csv_record(contents, at, inside, separator);
    line += 1 + inside;
    if (fields.size() == 1 && trimmed(fields[0]).empty()) {
      continue;
    }
    if (!column) {
      column = 0;
      const auto heading = std::find_if(fields.begin(), fields.end(), [](const std::string& f) {
        const std::string head = lowered(trimmed(f));
        return head == "name" || head == "student";
      });
      if (heading != fields.end() || csv) {
        column = heading == fields.end() ? 0 : static_cast<std::size_t>(heading - fields.begin());
        continue;
      }
    }
    const std::string name =
        *column < fields.size() ? std::string(trimmed(fields[*column])) : std::string();
    if (name.empty()) {
      continue;
    }
    if (const auto fault = fault_of(name)) {
      return on_line(starts, "the name " + *fault);
    }
    const auto same = std::find(names.begin(), names.end(), name);
    if (same != names.end()) {
      return on_line(starts, "the name \"" + name + "\" is on line " +
                                 decimal(static_cast<std::uint32_t>(
                                     name_lines[static_cast<std::size_t>(same - names.begin())])) +
                                 " too");
    }
    if (names.size() == static_cast<std::size_t>(most_versions)) {
      return on_line(starts,
                     "more than " + decimal(static_cast<std::uint32_t>(most_versions)) + " names");
    }
    names.push_back(name);
    name_lines.push_back(starts);
  }
  if (names.empty()) {
    return std::string("the list holds no names");
  }
  return names;
}

}  // namespace projectile
