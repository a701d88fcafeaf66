// The page's way into the library: each call the page makes, marked here for
// export and nowhere else. Each returns what the page lays out, every text,
// number and verdict in it the library's, so the page keeps no rule of its
// own, and no message but the lines that tell of its own terminal and
// controls: one JSON object, except console_run, which returns the run's
// status. A call made out of order (a file before a sheet, a check before
// Practice has a set) answers with the reason, never with what is not there.
// What is returned stays valid until the next call that returns something.
#ifdef __EMSCRIPTEN__
#include <emscripten/emscripten.h>
#else
// Built natively too, so that the warnings and clang-tidy read it.
#define EMSCRIPTEN_KEEPALIVE
#endif

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "address.h"
#include "console.h"
#include "figure.h"
#include "json.h"
#include "marks.h"
#include "practice.h"
#include "problem.h"
#include "problem_set.h"
#include "sheet.h"
#include "text.h"

namespace {

using projectile::json_object;

std::string returned;

// An image's pixels, as the page put them for marks_add.
std::vector<std::uint8_t> pixels;

json_object reply() {
  returned.clear();
  return json_object(returned);
}

// Where the browser keeps the record of a set's Practice, and what the page
// says when it keeps nothing.
std::string record_key(std::uint32_t set) {
  return "projectile-practice-" + projectile::decimal(set);
}
constexpr std::string_view storage_refused_line =
    "This browser keeps nothing for this page, so the score will not be kept once it closes.";

std::optional<projectile::practice_session> practice;

// A set, the address that opens the page at it, and where its Practice is
// kept.
void set_members(json_object& reply, std::uint32_t set) {
  reply.number("set", set)
      .text("link", projectile::address_of_set(set))
      .text("key", record_key(set))
      .text("noStorage", storage_refused_line);
}

// Practice's calls before Practice has a set: the page never makes them,
// but a call out of order is answered, not undefined.
const char* practice_not_open() {
  reply().text("problem", "Practice has no set open.").done();
  return returned.c_str();
}

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

}  // namespace

extern "C" {

// What the page opens at, from its address read once: the view it names
// (the console's when none) and the views there are; the set the address
// names, else the clock's second, with a notice when it names a set no run
// can have, the address that opens the page at it and where its Practice is
// kept; and a sheet's number of questions and a class's number of
// versions, as written.
EMSCRIPTEN_KEEPALIVE const char* page_open(const char* address) {
  const auto asked = projectile::read_address(address);
  const std::uint32_t set = asked.set.value_or(projectile::seeded_from_clock().state);
  json_object opened = reply();
  opened.text("view", asked.view)
      .list("views", projectile::page_views.size(),
            [](std::size_t i) { json_object::quote(returned, projectile::page_views[i]); })
      .text("versions", asked.versions_typed)
      .text("count", asked.count_typed)
      .text("notice",
            asked.set_typed && !asked.set ? projectile::address_set_refused(*asked.set_typed) : "");
  set_members(opened, set);
  opened.done();
  return returned.c_str();
}

// The set of a console run after the first: the clock's second.
EMSCRIPTEN_KEEPALIVE const char* run_set() {
  json_object chosen = reply();
  set_members(chosen, projectile::seeded_from_clock().state);
  chosen.done();
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
  if (!practice) {
    return practice_not_open();
  }
  practice->next();
  return practice_question();
}

EMSCRIPTEN_KEEPALIVE const char* practice_start_over() {
  if (!practice) {
    return practice_not_open();
  }
  practice->start_over();
  return practice_question();
}

// The values typed into the question's fields, a line each.
EMSCRIPTEN_KEEPALIVE const char* practice_check(const char* typed) {
  if (!practice) {
    return practice_not_open();
  }
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
  if (!practice) {
    return practice_not_open();
  }
  const std::string_view line = practice->hint();
  json_object hinted = reply();
  hinted.text("heard", line);
  answer_members(hinted);
  hinted.done();
  return returned.c_str();
}

EMSCRIPTEN_KEEPALIVE const char* practice_show() {
  if (!practice) {
    return practice_not_open();
  }
  practice->show_answer();
  json_object shown = reply();
  answer_members(shown);
  shown.done();
  return returned.c_str();
}

// The worksheet of the fields as typed (see sheet.h).
EMSCRIPTEN_KEEPALIVE const char* sheet(const char* set, const char* count, const char* versions,
                                       const char* names) {
  returned.clear();
  projectile::make_sheet(returned, {set, count, versions, names});
  return returned.c_str();
}

// The sheet on show in the form called `form`, the bytes projectile-set
// writes, with a class's Practice links on the page at `link` as typed, else
// `here` (see sheet.h): JSON with the file's name and type, a note on the
// links, and where its bytes are in memory (`at`, `size`), valid until the
// next call; or why there is none.
EMSCRIPTEN_KEEPALIVE const char* sheet_file(const char* form, const char* link, const char* here) {
  static std::string file;
  const auto made = projectile::sheet_file(file, form, link, here);
  json_object answered = reply();
  if (!made.problem.empty()) {
    answered.text("problem", made.problem).done();
    return returned.c_str();
  }
  // The page reads the bytes where they are: a pointer is 32 bits in
  // WebAssembly.
  answered.text("file", made.name)
      .text("type", made.type)
      .text("note", made.note)
      .number("at", static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(file.data())))
      .number("size", static_cast<std::uint32_t>(file.size()))
      .done();
  return returned.c_str();
}

// Page `page` of student `student`'s (from 0) answer sheet of the sheet on
// show, on "a4" or "letter": {"svg":...,"width":...,"height":...}, the svg
// empty when there is none; the paper's size in tenths of a millimetre, so
// that a page not yet drawn holds its place.
EMSCRIPTEN_KEEPALIVE const char* answer_page(int student, int page, const char* paper) {
  const auto chosen =
      std::string_view(paper) == "letter" ? projectile::paper::letter : projectile::paper::a4;
  const auto size = projectile::size_of(chosen);
  returned.clear();
  json_object(returned)
      .text("svg", projectile::sheet_answer_page(student, page, chosen))
      .number("width", static_cast<std::uint32_t>(std::lround(size.width * 10)))
      .number("height", static_cast<std::uint32_t>(std::lround(size.height * 10)))
      .done();
  return returned.c_str();
}

// Room for an image's pixels, `size` bytes, where the page puts them before
// marks_add: its address in memory, valid until the next call.
EMSCRIPTEN_KEEPALIVE const char* pixels_room(std::uint32_t size) {
  pixels.assign(size, 0);
  returned.clear();
  json_object(returned)
      .number("at", static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(pixels.data())))
      .done();
  return returned.c_str();
}

// Marking the sheet on show (see marks.h): afresh; a page from the pixels
// put in pixels_room, RGBA rows as a canvas gives them; a value settled;
// the marks so far; and the marks as a file, where its bytes are in memory.
EMSCRIPTEN_KEEPALIVE const char* marks_begin() {
  returned.clear();
  projectile::marks_begin(returned);
  return returned.c_str();
}

EMSCRIPTEN_KEEPALIVE const char* marks_add(int width, int height, const char* source) {
  returned.clear();
  projectile::marks_add(returned, {width, height, 4, pixels}, source);
  return returned.c_str();
}

EMSCRIPTEN_KEEPALIVE const char* marks_settle(int student, int question, const char* what,
                                              const char* typed) {
  returned.clear();
  projectile::marks_settle(returned, student, question, what, typed);
  return returned.c_str();
}

EMSCRIPTEN_KEEPALIVE const char* marks() {
  returned.clear();
  projectile::marks_reply(returned);
  return returned.c_str();
}

EMSCRIPTEN_KEEPALIVE const char* marks_file() {
  static std::string file;
  file = projectile::marks_csv();
  returned.clear();
  json_object(returned)
      .text("file", projectile::marks_file_name())
      .text("type", "text/csv")
      .number("at", static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(file.data())))
      .number("size", static_cast<std::uint32_t>(file.size()))
      .done();
  return returned.c_str();
}

}  // extern "C"
