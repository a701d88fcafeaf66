#include "class_forms.h"

#include <algorithm>

#include "class_set.h"
#include "problem.h"
#include "problem_set.h"
#include "set_text.h"
#include "text.h"

namespace projectile {

std::vector<student> class_of(std::uint32_t class_set, std::span<const std::string> names,
                              int versions) {
  const int count = names.empty() ? versions : static_cast<int>(names.size());
  const std::vector<std::uint32_t> sets = class_versions(class_set, count);
  std::vector<student> students;
  for (int v = 1; v <= count; ++v) {
    const auto i = static_cast<std::size_t>(v - 1);
    students.push_back(
        {names.empty() ? "Version " + decimal(static_cast<std::uint32_t>(v)) : names[i], v,
         sets[i]});
  }
  return students;
}

std::vector<std::uint32_t> sets_of(std::span<const student> students) {
  std::vector<std::uint32_t> sets(students.size());
  std::transform(students.begin(), students.end(), sets.begin(),
                 [](const student& s) { return s.set; });
  return sets;
}

namespace {

void append_heading(text& out, const student& s) {
  out.append(s.name);
  out.append(", set ");
  out.append_u(s.set);
  out.append("\n");
}

}  // namespace

bool write_class_sheets(std::span<const student> students, int count, const block_sink& write) {
  block_writer blocks(write);
  text& out = blocks.out();
  for (const student& s : students) {
    append_heading(out, s);
    crt_rand raw{s.set};
    for (int n = 1; n <= count; ++n) {
      write_question(out, n, draw_question(raw));
      if (!blocks.flush()) {
        return false;
      }
    }
    out.append("\f");
  }
  out.append("Answers\n");
  for (const student& s : students) {
    out.append("\n");
    append_heading(out, s);
    append_key_table(out, problem_set(s.set), count);
    if (!blocks.flush()) {
      return false;
    }
  }
  return blocks.flush(true);
}

std::string csv_field(std::string_view value) {
  std::string field;
  if (!value.empty() && std::string_view("=+-@\t\r").find(value[0]) != std::string_view::npos) {
    field += '\'';
  }
  field += value;
  const bool quoted = field.find_first_of(",\"\r\n") != std::string::npos ||
                      (!field.empty() && (field.front() == ' ' || field.back() == ' '));
  if (!quoted) {
    return field;
  }
  std::string made(1, '"');
  for (const char c : field) {
    made += c;
    if (c == '"') {
      made += '"';
    }
  }
  made += '"';
  return made;
}

bool write_class_list(std::span<const student> students, const block_sink& write,
                      const link_maker& link_of) {
  block_writer blocks(write);
  text& out = blocks.out();
  out.append(link_of ? "name,version,set,practice\r\n" : "name,version,set\r\n");
  for (const student& s : students) {
    out.append(csv_field(s.name));
    out.append(",");
    out.append_i(s.version);
    out.append(",");
    out.append_u(s.set);
    if (link_of) {
      out.append(",");
      out.append(csv_field(link_of(s.set)));
    }
    out.append("\r\n");
    if (!blocks.flush()) {
      return false;
    }
  }
  return blocks.flush(true);
}

}  // namespace projectile
