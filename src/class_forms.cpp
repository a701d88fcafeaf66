#include "class_forms.h"

#include "problem.h"
#include "problem_set.h"
#include "set_text.h"
#include "text.h"

namespace projectile {

namespace {

void append_heading(text& out, const student& s) {
  out.append(s.name);
  out.append(", set ");
  out.append_u(s.set);
  out.append("\n");
}

}  // namespace

bool write_class_sheets(const handout& made, const block_sink& write) {
  block_writer blocks(write);
  text& out = blocks.out();
  for (const student& s : made.students) {
    append_heading(out, s);
    if (!problem_set(s.set).each(made.count, [&](int n, const question& q) {
          write_question(out, n, q);
          return blocks.flush();
        })) {
      return false;
    }
    out.append("\f");
  }
  out.append("Answers\n");
  for (const student& s : made.students) {
    out.append("\n");
    append_heading(out, s);
    append_key_table(out, problem_set(s.set), made.count);
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

bool write_class_list(const handout& made, const block_sink& write, const link_maker& link_of) {
  block_writer blocks(write);
  text& out = blocks.out();
  // UTF-8 with a byte-order mark: without it, a spreadsheet on Windows reads
  // the names in its own code page.
  out.append("\xEF\xBB\xBF");
  out.append(link_of ? "name,version,set,practice\r\n" : "name,version,set\r\n");
  for (const student& s : made.students) {
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
