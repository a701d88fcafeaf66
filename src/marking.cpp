#include "marking.h"

#include <algorithm>
#include <utility>

#include "class_forms.h"
#include "problem_set.h"
#include "slip.h"
#include "typed_value.h"
#include "verdict.h"

namespace projectile {

namespace {

std::string number(int n) {
  return decimal(static_cast<std::uint32_t>(n));
}

}  // namespace

class_marking::class_marking(handout made) : made_(std::move(made)) {
  for (const student& s : made_.students) {
    student_state state;
    (void)problem_set(s.set).each(made_.count, [&](int n, const question& q) {
      state.questions.push_back(problem_of(n, q));
      return true;
    });
    state.values.resize(state.questions.size());
    state.pages_from.resize(static_cast<std::size_t>(pages_of(made_.count)));
    students_.push_back(std::move(state));
  }
}

class_marking::added class_marking::add(const page_read& page, std::string_view source) {
  const auto& code = page.code;
  if (!code) {
    return {false, "no answer page found"};
  }
  const std::string which = joined("set ", decimal(code->set), ", version ", number(code->version),
                                   ", page ", number(code->page));
  // A set alone is version 1 of itself; a class's pages carry the class set.
  if (code->set != made_.set || code->count != made_.count ||
      code->version > static_cast<int>(students_.size())) {
    return {false,
            joined("an answer page of another set or class (", which, ", ", number(code->count)) +
                " questions)"};
  }
  const auto who = static_cast<std::size_t>(code->version - 1);
  student_state& state = students_[who];
  std::string& from = state.pages_from[static_cast<std::size_t>(code->page - 1)];
  const std::string name = made_.of_class
                               ? joined(made_.students[who].name, ", page ", number(code->page))
                               : joined("page ", number(code->page));
  if (!from.empty()) {
    return {false, joined(name, " again: read before from ", from, "; this one is skipped")};
  }
  from = source;
  const int first = (code->page - 1) * questions_per_page + 1;
  const int last = std::min(made_.count, code->page * questions_per_page);
  for (int n = first; n <= last; ++n) {
    const problem& p = state.questions[static_cast<std::size_t>(n - 1)];
    for (const asked_value& asked : p.asked.view()) {
      value_state& v =
          state.values[static_cast<std::size_t>(n - 1)][static_cast<std::size_t>(asked.what)];
      v.read = true;
      const auto at = static_cast<std::size_t>(n - page.first_question);
      v.filled = page.values[at][static_cast<std::size_t>(asked.what)];
      v.source = source;
      v.where = page.where[at][static_cast<std::size_t>(asked.what)];
    }
  }
  return {true, name};
}

std::string class_marking::settle(int student, int question, quantity what,
                                  std::string_view typed) {
  if (student < 0 || student >= static_cast<int>(students_.size()) || question < 1 ||
      question > made_.count) {
    return "there is no such value";
  }
  student_state& state = students_[static_cast<std::size_t>(student)];
  const problem& p = state.questions[static_cast<std::size_t>(question - 1)];
  const auto asked = std::find_if(p.asked.view().begin(), p.asked.view().end(),
                                  [&](const asked_value& a) { return a.what == what; });
  if (asked == p.asked.view().end()) {
    return "the question does not ask for it";
  }
  const reading read = read_value(typed, what);
  const verdict given = verdict_of(read, *asked);
  if (given == verdict::unreadable) {
    return mark_line(read, given, slip::none, *asked);
  }
  value_state& v =
      state.values[static_cast<std::size_t>(question - 1)][static_cast<std::size_t>(what)];
  v.typed = std::string(typed);
  v.settled = true;
  return "";
}

std::vector<unclear_value> class_marking::unclear() const {
  std::vector<unclear_value> left;
  for (std::size_t s = 0; s < students_.size(); ++s) {
    const student_state& state = students_[s];
    if (std::all_of(state.pages_from.begin(), state.pages_from.end(),
                    [](const std::string& from) { return from.empty(); })) {
      continue;
    }
    for (const problem& p : state.questions) {
      for (const asked_value& asked : p.asked.view()) {
        const value_state& v = state.values[static_cast<std::size_t>(p.number - 1)]
                                           [static_cast<std::size_t>(asked.what)];
        const int page = (p.number - 1) / questions_per_page + 1;
        if (v.settled || (v.read && v.filled.state != bubbles::unclear)) {
          continue;
        }
        left.push_back({static_cast<int>(s), page, p.number, asked.what,
                        v.read ? v.filled.why : joined("page ", number(page), " is not read"),
                        v.source, v.where});
      }
    }
  }
  return left;
}

std::vector<std::string> class_marking::unmarked() const {
  std::vector<std::string> names;
  for (std::size_t s = 0; s < students_.size(); ++s) {
    const auto& from = students_[s].pages_from;
    if (std::all_of(from.begin(), from.end(), [](const std::string& f) { return f.empty(); })) {
      names.push_back(made_.of_class ? made_.students[s].name : "the set");
    }
  }
  return names;
}

std::vector<std::vector<std::string>> class_marking::table() const {
  // Question k's columns: each quantity that some student's question k asks for.
  std::vector<std::array<bool, quantities.size()>> asked_at(static_cast<std::size_t>(made_.count));
  for (const student_state& state : students_) {
    for (const problem& p : state.questions) {
      for (const asked_value& asked : p.asked.view()) {
        asked_at[static_cast<std::size_t>(p.number - 1)][static_cast<std::size_t>(asked.what)] =
            true;
      }
    }
  }
  std::vector<std::vector<std::string>> rows(1);
  std::vector<std::string>& head = rows[0];
  head = {"name", "version", "set", "total", "unclear"};
  for (int k = 1; k <= made_.count; ++k) {
    const std::string q = joined("q", number(k));
    head.push_back(q);
    for (const quantity what : quantities) {
      if (asked_at[static_cast<std::size_t>(k - 1)][static_cast<std::size_t>(what)]) {
        head.push_back(joined(q, " ", id_of(what)));
        head.push_back(joined(q, " ", id_of(what), " verdict"));
      }
    }
  }
  for (std::size_t s = 0; s < students_.size(); ++s) {
    const student_state& state = students_[s];
    if (std::all_of(state.pages_from.begin(), state.pages_from.end(),
                    [](const std::string& from) { return from.empty(); })) {
      continue;
    }
    const student& who = made_.students[s];
    std::vector<std::string> row = {made_.of_class ? who.name : "", number(who.version),
                                    decimal(who.set), "", ""};
    int total = 0;
    int to_settle = 0;
    for (const problem& p : state.questions) {
      const auto k = static_cast<std::size_t>(p.number - 1);
      const std::size_t points_at = row.size();
      row.emplace_back();
      int right = 0;
      for (const quantity what : quantities) {
        if (!asked_at[k][static_cast<std::size_t>(what)]) {
          continue;
        }
        const auto asked = std::find_if(p.asked.view().begin(), p.asked.view().end(),
                                        [&](const asked_value& a) { return a.what == what; });
        if (asked == p.asked.view().end()) {
          row.emplace_back();
          row.emplace_back();
          continue;
        }
        const value_state& v = state.values[k][static_cast<std::size_t>(what)];
        std::string given;
        std::string said;
        if (v.settled) {
          given = v.typed;
        } else if (!v.read || v.filled.state == bubbles::unclear) {
          said = "unclear";
          ++to_settle;
        } else {
          given = v.filled.digits;
        }
        if (said.empty()) {
          const reading read = read_value(given, what);
          const verdict judged = verdict_of(read, *asked);
          if (judged == verdict::empty) {
            said = "blank";
          } else if (judged == verdict::right) {
            said = "right";
            ++right;
          } else {
            said = "wrong";
            const slip named = read.value ? slip_of(p.q, *asked, *read.value) : slip::none;
            if (named != slip::none) {
              said += ": ";
              said += id_of(named);
            }
          }
        }
        row.push_back(given);
        row.push_back(said);
      }
      const int points = right * points_per_question / static_cast<int>(p.asked.size);
      total += points;
      row[points_at] = number(points);
    }
    row[3] = number(total);
    row[4] = number(to_settle);
    rows.push_back(std::move(row));
  }
  return rows;
}

std::string class_marking::csv() const {
  std::string out = "\xEF\xBB\xBF";
  for (const auto& row : table()) {
    for (std::size_t c = 0; c < row.size(); ++c) {
      out += c == 0 ? "" : ",";
      out += csv_field(row[c]);
    }
    out += "\r\n";
  }
  return out;
}

}  // namespace projectile
