// The page's way into the library: each call the page makes, marked here for
// export and nowhere else. Each returns what the page lays out, every text,
// number and verdict in it the library's, so the page keeps no rule or
// message of its own: one JSON object, except console_run, which returns the
// run's status, and sheet_moodle and sheet_qti, which return the file itself.
// What is returned stays valid until the next call that returns something.
#ifdef __EMSCRIPTEN__
#include <emscripten/emscripten.h>
#else
// Built natively too, so that the warnings and clang-tidy read it.
#define EMSCRIPTEN_KEEPALIVE
#endif

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "address.h"
#include "console.h"
#include "figure.h"
#include "input.h"
#include "json.h"
#include "moodle.h"
#include "practice.h"
#include "problem.h"
#include "problem_set.h"
#include "qti.h"
#include "set_text.h"
#include "text.h"

namespace {

using projectile::json_object;

std::string returned;

json_object reply() {
  returned.clear();
  return json_object(returned);
}

void quote(std::string_view value) {
  json_object::quote(returned, value);
}

// The most questions a page's worksheet lays out: every question is a block
// of the page to lay out and print, and a worksheet of more is a book.
constexpr int most_sheet_count = 100;

// Where the browser keeps the record of a set's Practice, and what the page
// says when it keeps nothing.
std::string record_key(std::uint32_t set) {
  return "projectile-practice-" + projectile::decimal(set);
}
constexpr std::string_view storage_refused_line =
    "This browser keeps nothing for this page, so the score will not be kept once it closes.";

std::optional<projectile::practice_session> practice;

// What the answer's area shows: as far as hints went, all of it once shown,
// nothing before either.
void answer_members(json_object& reply) {
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
  json_object shown = reply();
  shown.number("set", practice->set().number())
      .text("rule", projectile::rule_line())
      .text("question", projectile::question_text(p))
      .text("figure", projectile::question_figure(p))
      .list("fields", p.asked.size,
            [&](std::size_t i) {
              const projectile::quantity what = p.asked.items[i].what;
              json_object(returned)
                  .text("label", projectile::label_of(what))
                  .text("name", projectile::name_of(what))
                  .done();
            })
      .text("notice", notice);
  answer_members(shown);
  shown.done();
  return returned.c_str();
}

// The worksheet on show, made once: its questions and their figures, which
// its Moodle file takes as they are.
struct worksheet {
  std::uint32_t set;
  int count;
  std::vector<projectile::problem> problems;
  std::vector<projectile::figures> drawn;
};
std::optional<worksheet> sheet_shown;

// A file of the worksheet on show, made by `write` with the figures the sheet
// shows, into `returned`.
template <class Writer>
void sheet_file(Writer write) {
  returned.clear();
  const worksheet& shown = *sheet_shown;
  write(
      projectile::problem_set(shown.set), shown.count,
      [](std::string_view block) {
        returned += block;
        return true;
      },
      [&](const projectile::problem& p) {
        return shown.drawn[static_cast<std::size_t>(p.number - 1)];
      });
}

}  // namespace

extern "C" {

// The view the address names ("#practice", say), else the console.
EMSCRIPTEN_KEEPALIVE const char* page_view(const char* address) {
  reply().text("view", projectile::read_address(address).view).done();
  return returned.c_str();
}

// The set of a run the page starts: the one `address` names, for the first
// run (an empty address for the others), else the clock's second, with a
// notice when the address names a set no run can have; the address that
// opens the page at it, and where its Practice is kept.
EMSCRIPTEN_KEEPALIVE const char* run_set(const char* address) {
  const auto asked = projectile::read_address(address);
  const std::uint32_t set = asked.set.value_or(projectile::seeded_from_clock().state);
  reply()
      .number("set", set)
      .text("notice",
            asked.set_typed && !asked.set ? projectile::address_set_refused(*asked.set_typed) : "")
      .text("link", projectile::address_of_set(set))
      .text("key", record_key(set))
      .text("noStorage", storage_refused_line)
      .done();
  return returned.c_str();
}

// The console program's run of `set`, on the page's standard input and
// output: its status, 0, or 1 when output could not be written.
EMSCRIPTEN_KEEPALIVE int console_run(std::uint32_t set) {
  (void)std::setvbuf(stdout, nullptr, _IONBF, 0);
  return projectile::run_console(set, stdin, stdout) ? 0 : 1;
}

// Practice of `set`, taken up from the record the page kept of it (an empty
// text when none): from its first question when there is none, and with a
// notice when it cannot be read.
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
  json_object marked = reply();
  marked
      .list("marks", checked.marks.size(),
            [&](std::size_t i) {
              const auto& mark = checked.marks[i];
              json_object(returned)
                  .text("line", mark.line)
                  .flag("right", mark.given == projectile::verdict::right)
                  .flag("marked", mark.given != projectile::verdict::empty)
                  .text("slip", projectile::id_of(mark.named))
                  .done();
            })
      .text("heard", checked.heard)
      .text("notice", checked.nothing_typed ? checked.heard : "")
      .number("focus",
              static_cast<std::uint32_t>(checked.first_not_right.value_or(checked.marks.size())));
  answer_members(marked);
  marked.done();
  return returned.c_str();
}

// The next line of the worked answer.
EMSCRIPTEN_KEEPALIVE const char* practice_hint() {
  const std::string_view line = practice->hint();
  json_object hinted = reply();
  hinted.text("heard", line);
  answer_members(hinted);
  hinted.done();
  return returned.c_str();
}

EMSCRIPTEN_KEEPALIVE const char* practice_show() {
  practice->show_answer();
  json_object shown = reply();
  answer_members(shown);
  shown.done();
  return returned.c_str();
}

// The worksheet of the set and count as typed into its fields (no count: the
// default): its title, each question and each answer under its number, with
// their figures, and the name of its Moodle file; "unchanged" when it is the
// sheet on show; or what is wrong with the fields.
EMSCRIPTEN_KEEPALIVE const char* sheet(const char* set_typed, const char* count_typed) {
  const auto set = projectile::read_choice(set_typed, 0, projectile::highest_set);
  // An empty count asks for the default, as projectile-set without --count.
  const std::string_view count_text = count_typed;
  const auto count = count_text.empty()
                         ? projectile::typed_choice{projectile::default_set_count, {}}
                         : projectile::read_choice(count_text, 1, most_sheet_count);
  if (!set.value || !count.value) {
    const std::string problem =
        !set.value ? "Set " + set.refused + "."
                   : "Questions " + count.refused + " (projectile-set writes up to " +
                         projectile::decimal(projectile::most_set_count) + ").";
    sheet_shown.reset();
    reply()
        .text("problem", problem)
        .flag("setInvalid", !set.value)
        .flag("countInvalid", !count.value)
        .done();
    return returned.c_str();
  }
  const auto n = static_cast<int>(*count.value);
  if (sheet_shown && sheet_shown->set == *set.value && sheet_shown->count == n) {
    reply().flag("unchanged", true).number("count", *count.value).done();
    return returned.c_str();
  }
  worksheet& made = sheet_shown.emplace(worksheet{*set.value, n, {}, {}});
  const projectile::problem_set questions(made.set);
  for (int k = 1; k <= n; ++k) {
    made.problems.push_back(questions.at(k));
    made.drawn.push_back(projectile::draw_figures(made.problems.back()));
  }
  const auto& problems = made.problems;
  const std::string number = projectile::decimal(made.set);
  reply()
      .number("count", *count.value)
      .text("title", "Projectile motion questions, set " + number)
      .list("questions", problems.size(),
            [&](std::size_t i) { quote(projectile::question_text(problems[i])); })
      .list("questionFigures", problems.size(),
            [&](std::size_t i) { quote(made.drawn[i].question); })
      .list("head", projectile::key_columns.size(),
            [&](std::size_t c) { quote(projectile::key_columns[c]); })
      .list("rows", problems.size(),
            [&](std::size_t i) {
              const auto row = projectile::key_row(problems[i]);
              returned += '[';
              for (std::size_t c = 0; c < row.size(); ++c) {
                returned += c == 0 ? "" : ",";
                quote(row[c]);
              }
              returned += ']';
            })
      .list("answers", problems.size(),
            [&](std::size_t i) {
              quote(projectile::decimal(static_cast<std::uint32_t>(problems[i].number)) + ".\n" +
                    projectile::answer_text(problems[i]));
            })
      .list("answerFigures", problems.size(), [&](std::size_t i) { quote(made.drawn[i].answer); })
      .text("file", "projectile-set-" + number + ".xml")
      .text("canvasFile", "projectile-set-" + number + ".zip")
      .done();
  return returned.c_str();
}

// The worksheet on show as a Moodle quiz file, the bytes projectile-set
// --moodle writes.
EMSCRIPTEN_KEEPALIVE const char* sheet_moodle() {
  sheet_file(projectile::write_moodle);
  return returned.c_str();
}

// The worksheet on show as a package for Canvas, the bytes projectile-set
// --qti writes: a zip, which holds NULs, so after its length in four bytes,
// least significant first.
EMSCRIPTEN_KEEPALIVE const char* sheet_qti() {
  sheet_file(projectile::write_qti);
  const auto size = static_cast<std::uint32_t>(returned.size());
  std::string length;
  for (unsigned shift = 0; shift < 32; shift += 8) {
    length += static_cast<char>((size >> shift) & 0xFFU);
  }
  returned.insert(0, length);
  return returned.data();
}

}  // extern "C"
