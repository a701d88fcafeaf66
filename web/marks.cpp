#include "marks.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "json.h"
#include "marking.h"
#include "sheet.h"
#include "text.h"

namespace projectile {

namespace {

std::optional<class_marking> marking;

}  // namespace

void marks_begin(std::string& out) {
  const handout* made = sheet_handout();
  if (made == nullptr) {
    marking.reset();
    json_object(out).text("problem", "There is no sheet yet: press Show first.").done();
    return;
  }
  marking.emplace(*made);
  json_object(out).done();
}

void marks_add(std::string& out, const image_view& image, std::string_view source) {
  if (!marking) {
    json_object(out).flag("read", false).text("said", "Marking has not begun.").done();
    return;
  }
  const auto added = marking->add(read_page(image), source);
  json_object(out).flag("read", added.read).text("said", added.said).done();
}

void marks_settle(std::string& out, int student, int question, std::string_view what,
                  std::string_view typed) {
  std::string refused = "Marking has not begun.";
  if (marking) {
    refused = "There is no such value.";
    for (const quantity q : quantities) {
      if (id_of(q) == what) {
        refused = marking->settle(student, question, q, typed);
      }
    }
  }
  json_object reply(out);
  if (!refused.empty()) {
    reply.text("problem", refused);
  }
  reply.done();
}

void marks_reply(std::string& out) {
  if (!marking) {
    json_object(out).text("problem", "Marking has not begun.").done();
    return;
  }
  const auto rows = marking->table();
  const auto left = marking->unclear();
  const auto unmarked = marking->unmarked();
  const handout& made = marking->marked();
  json_object(out)
      .list("rows", rows.size(),
            [&](std::size_t r) {
              out += '[';
              for (std::size_t c = 0; c < rows[r].size(); ++c) {
                out += c == 0 ? "" : ",";
                json_object::quote(out, rows[r][c]);
              }
              out += ']';
            })
      .list("unclear", left.size(),
            [&](std::size_t i) {
              const unclear_value& u = left[i];
              const auto& who = made.students[static_cast<std::size_t>(u.student)];
              json_object(out)
                  .number("student", static_cast<std::uint32_t>(u.student))
                  .text("name", made.of_class ? who.name : "")
                  .number("page", static_cast<std::uint32_t>(u.page))
                  .number("question", static_cast<std::uint32_t>(u.question))
                  .text("what", id_of(u.what))
                  .text("label", label_of(u.what))
                  .text("why", u.why)
                  .text("source", u.source)
                  .list("where", 8,
                        [&](std::size_t k) {
                          const point corner = u.where[k / 2];
                          const double v = k % 2 == 0 ? corner.x : corner.y;
                          // A page seen past the image's edge may place a
                          // corner off it; a crop is cut from the image alone.
                          out += decimal(static_cast<std::uint32_t>(
                              std::lround(std::isfinite(v) ? std::clamp(v, 0.0, 1e6) : 0)));
                        })
                  .done();
            })
      .list("unmarked", unmarked.size(),
            [&](std::size_t i) { json_object::quote(out, unmarked[i]); })
      .done();
}

std::string marks_csv() {
  return marking ? marking->csv() : "";
}

std::string marks_file_name() {
  return joined("projectile-marks-", marking ? decimal(marking->marked().set) : std::string(),
                ".csv");
}

}  // namespace projectile
