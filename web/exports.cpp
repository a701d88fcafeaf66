// The page's way into the library: each call the page makes, marked here for
// export and nowhere else. A call returns what the page lays out, as one JSON
// object: every text, number and verdict in it is the library's, so the page
// keeps no rule or message of its own. The returned text stays valid until
// the next call that returns one.
#include <emscripten/emscripten.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "console.h"
#include "figure.h"
#include "input.h"
#include "practice.h"
#include "problem.h"
#include "problem_set.h"
#include "text.h"

namespace {

std::string returned;

// A JSON object written a member at a time onto the end of `returned`;
// reply_object() starts a new returned text with one.
class object {
 public:
  object() { returned += '{'; }

  object& text(std::string_view name, std::string_view value) {
    key(name);
    quote(value);
    return *this;
  }
  object& number(std::string_view name, std::uint32_t value) {
    key(name);
    returned += projectile::decimal(value);
    return *this;
  }
  object& flag(std::string_view name, bool value) {
    key(name);
    returned += value ? "true" : "false";
    return *this;
  }
  // An array member: `each(i)` writes element i, through the helpers below.
  template <class Each>
  object& list(std::string_view name, std::size_t size, Each each) {
    key(name);
    returned += '[';
    for (std::size_t i = 0; i < size; ++i) {
      returned += i == 0 ? "" : ",";
      each(i);
    }
    returned += ']';
    return *this;
  }
  static void quote(std::string_view value) {
    returned += '"';
    // Runs of plain characters go in whole; each escaped one between them.
    std::size_t plain = 0;
    for (std::size_t i = 0; i < value.size(); ++i) {
      const auto c = static_cast<unsigned char>(value[i]);
      if (c != '"' && c != '\\' && c >= 0x20) {
        continue;
      }
      returned.append(value.data() + plain, i - plain);
      plain = i + 1;
      if (c >= 0x20) {
        returned += '\\';
        returned += static_cast<char>(c);
      } else {
        constexpr std::string_view hex = "0123456789abcdef";
        returned += "\\u00";
        returned += hex[c >> 4U];
        returned += hex[c & 0xFU];
      }
    }
    returned.append(value.data() + plain, value.size() - plain);
    returned += '"';
  }
  const char* done() {
    returned += '}';
    return returned.c_str();
  }

 private:
  void key(std::string_view name) {
    returned += first_ ? "" : ",";
    first_ = false;
    quote(name);
    returned += ':';
  }
  bool first_ = true;
};

object reply_object() {
  returned.clear();
  return {};
}

std::optional<projectile::practice_session> practice;

// What the answer's area shows: as far as hints went, all of it once shown,
// nothing before either.
void answer_members(object& reply) {
  reply.text("answer", practice->answer_begun() ? practice->hinted() : "")
      .text("answerFigure",
            practice->answer_shown() ? projectile::answer_figure(practice->current()) : "")
      .text("note", practice->answer_shown() ? projectile::answer_shown_line : "")
      .flag("more", !practice->every_line_shown())
      .text("tally", practice->tally_line())
      .text("record", practice->record());
}

// The question Practice shows, with its fields, and how far it has gone.
const char* practice_question(std::string_view notice = "") {
  const projectile::problem& p = practice->current();
  object reply = reply_object();
  reply.number("set", practice->set().number())
      .text("rule", projectile::rule_line())
      .text("question", projectile::question_text(p))
      .text("figure", projectile::question_figure(p))
      .list("fields", p.asked.size,
            [&](std::size_t i) {
              const projectile::quantity what = p.asked.items[i].what;
              object()
                  .text("label", projectile::label_of(what))
                  .text("name", projectile::name_of(what))
                  .done();
            })
      .text("key", projectile::record_key(practice->set().number()))
      .text("notice", notice)
      .text("noStorage", projectile::storage_refused_line);
  answer_members(reply);
  return reply.done();
}

}  // namespace

extern "C" {

// The set of a run the page starts: the one `address` names ("#set=S", among
// other parts), else the clock's second, with a notice when the address
// names a set no run can have.
EMSCRIPTEN_KEEPALIVE const char* run_set(const char* address) {
  const auto asked = projectile::set_in_address(address);
  if (asked && asked->set) {
    return reply_object().number("set", *asked->set).text("notice", "").done();
  }
  return reply_object()
      .number("set", projectile::seeded_from_clock().state)
      .text("notice", asked ? projectile::address_set_refused(asked->typed) : "")
      .done();
}

// The console program's run of `set`, on the page's standard input and
// output; 0, or 1 when output could not be written.
EMSCRIPTEN_KEEPALIVE int console_run(std::uint32_t set) {
  (void)std::setvbuf(stdout, nullptr, _IONBF, 0);
  return projectile::run_console(set, stdin, stdout) ? 0 : 1;
}

// Practice of `set`, taken up from the record the page kept of it, if any
// (an empty text when none): from its first question if there is none, or
// with a notice if it cannot be read.
EMSCRIPTEN_KEEPALIVE const char* practice_open(std::uint32_t set, const char* kept) {
  practice.emplace(set);
  const std::string_view record = kept;
  const bool refused = !record.empty() && !practice->resume(record);
  return practice_question(refused ? projectile::record_refused_line : "");
}

EMSCRIPTEN_KEEPALIVE const char* practice_next() {
  practice->next();
  return practice_question();
}

EMSCRIPTEN_KEEPALIVE const char* practice_start_over() {
  practice->start_over();
  return practice_question();
}

// The values typed into the question's fields, a line each.
EMSCRIPTEN_KEEPALIVE const char* practice_check(const char* typed) {
  std::vector<std::string_view> values;
  for (std::string_view rest = typed;;) {
    const auto end = rest.find('\n');
    values.emplace_back(rest.data(), std::min(end, rest.size()));
    if (end == std::string_view::npos) {
      break;
    }
    rest.remove_prefix(end + 1);
  }
  const auto checked = practice->check(values);
  object reply = reply_object();
  reply
      .list("marks", checked.marks.size(),
            [&](std::size_t i) {
              const auto& mark = checked.marks[i];
              object()
                  .text("line", mark.line)
                  .flag("right", mark.given == projectile::verdict::right)
                  .flag("marked", mark.given != projectile::verdict::empty)
                  .text("slip", projectile::id_of(mark.named))
                  .done();
            })
      .text("heard", checked.heard)
      .number("focus",
              static_cast<std::uint32_t>(checked.first_not_right.value_or(checked.marks.size())));
  answer_members(reply);
  return reply.done();
}

// The next line of the worked answer.
EMSCRIPTEN_KEEPALIVE const char* practice_hint() {
  const std::string_view line = practice->hint();
  object reply = reply_object();
  reply.text("heard", line);
  answer_members(reply);
  return reply.done();
}

EMSCRIPTEN_KEEPALIVE const char* practice_show() {
  practice->show_answer();
  object reply = reply_object();
  answer_members(reply);
  return reply.done();
}

// A worksheet of the set and count typed into its fields (no count: the
// default): its title, each question and each answer under its number, and
// the name of its Moodle file; or what is wrong with the fields.
EMSCRIPTEN_KEEPALIVE const char* sheet(const char* set_typed, const char* count_typed) {
  const auto set = projectile::parse_set(set_typed);
  // An empty count asks for the default, as projectile-set without --count.
  const std::string_view count_text = count_typed;
  const auto count = count_text.empty()
                         ? std::optional<int>(projectile::default_set_count)
                         : projectile::parse_set_count(count_text, projectile::most_sheet_count);
  if (!set || !count) {
    const std::string problem =
        !set ? "The set is " + projectile::whole_number_range(0, projectile::most_set) + "."
             : "The number of questions is " +
                   projectile::whole_number_range(1, projectile::most_sheet_count) +
                   " (projectile-set writes up to " +
                   projectile::decimal(projectile::most_set_count) + ").";
    return reply_object()
        .text("problem", problem)
        .flag("setInvalid", !set)
        .flag("countInvalid", !count)
        .done();
  }
  const projectile::problem_set questions(*set);
  std::vector<projectile::problem> problems;
  for (int n = 1; n <= *count; ++n) {
    problems.push_back(questions.at(n));
  }
  const std::string number = projectile::decimal(*set);
  return reply_object()
      .number("set", *set)
      .number("count", static_cast<std::uint32_t>(*count))
      .text("title", "Projectile motion questions, set " + number)
      .list("questions", problems.size(),
            [&](std::size_t i) { object::quote(projectile::question_text(problems[i])); })
      .list("questionFigures", problems.size(),
            [&](std::size_t i) { object::quote(projectile::question_figure(problems[i])); })
      .list("head", projectile::key_columns.size(),
            [&](std::size_t c) { object::quote(projectile::key_columns[c]); })
      .list("rows", problems.size(),
            [&](std::size_t i) {
              const auto row = projectile::key_row(problems[i]);
              returned += '[';
              for (std::size_t c = 0; c < row.size(); ++c) {
                returned += c == 0 ? "" : ",";
                object::quote(row[c]);
              }
              returned += ']';
            })
      .list("answers", problems.size(),
            [&](std::size_t i) {
              object::quote(projectile::decimal(static_cast<std::uint32_t>(problems[i].number)) +
                            ".\n" + projectile::answer_text(problems[i]));
            })
      .list("answerFigures", problems.size(),
            [&](std::size_t i) { object::quote(projectile::answer_figure(problems[i])); })
      .text("file", "projectile-set-" + number + ".xml")
      .done();
}

// The set's first `count` questions as a Moodle quiz file, as projectile-set
// --moodle writes it.
EMSCRIPTEN_KEEPALIVE const char* sheet_moodle(std::uint32_t set, int count) {
  returned.clear();
  projectile::problem_set(set).write(count, projectile::set_form::moodle,
                                     [](std::string_view block) {
                                       returned += block;
                                       return true;
                                     });
  return returned.c_str();
}

}  // extern "C"
