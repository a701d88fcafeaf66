#include "forms.h"

#include <algorithm>
#include <array>

#include "answer_sheet.h"
#include "moodle.h"
#include "problem_set.h"
#include "qti.h"
#include "set_text.h"
#include "text.h"
#include "zip.h"

namespace projectile {

namespace {

bool write_sheets(const handout& made, const form_output& to, text_form form) {
  return made.of_class ? write_class_sheets(made, to.write)
                       : write_text(problem_set(made.set), made.count, form, to.write);
}

bool write_run(const handout& made, const form_output& to) {
  return write_sheets(made, to, text_form::run);
}

bool write_worksheet(const handout& made, const form_output& to) {
  return write_sheets(made, to, text_form::worksheet);
}

bool write_moodle_form(const handout& made, const form_output& to) {
  return write_moodle(made, to.write, to.drawn);
}

bool write_qti_form(const handout& made, const form_output& to) {
  return write_qti(made, to.write, to.drawn);
}

bool write_list(const handout& made, const form_output& to) {
  return write_class_list(made, to.write, to.link_of);
}

// Each question's two figures, DIR/question-K.svg and DIR/answer-K.svg; a
// class's in a folder for each version, DIR/version-V/.
bool write_figures(const handout& made, const form_output& to) {
  for (const student& s : made.students) {
    std::string folder;
    if (made.of_class) {
      folder = "version-" + decimal(static_cast<std::uint32_t>(s.version)) + "/";
    }
    const bool written = problem_set(s.set).each(made.count, [&](int n, const question& q) {
      const figures drawn = to.drawn(s.set, problem_of(n, q));
      const auto path = [&](std::string_view kind) {
        std::string made_path = folder;
        made_path += kind;
        made_path += decimal(static_cast<std::uint32_t>(n));
        made_path += ".svg";
        return made_path;
      };
      return to.files(path("question-"), drawn.question) && to.files(path("answer-"), drawn.answer);
    });
    if (!written) {
      return false;
    }
  }
  return true;
}

// Each student's answer pages, DIR/version-V-page-P.svg.
bool write_answer_sheets(const handout& made, const form_output& to) {
  for (const student& s : made.students) {
    for (int page = 1; page <= pages_of(made.count); ++page) {
      std::string path = "version-";
      path += decimal(static_cast<std::uint32_t>(s.version));
      path += "-page-";
      path += decimal(static_cast<std::uint32_t>(page));
      path += ".svg";
      if (!to.files(path, answer_page(made, s, page, to.sheets))) {
        return false;
      }
    }
  }
  return true;
}

// Moodle's import runs out of the memory it allows itself (384 MB, unless
// a site raises it) at about 8,000 questions.
constexpr long long most_moodle_questions = 4000;
// A package holds every question's two figures, and a zip at most 65,535
// files: a package of the most questions a set gives must fit.
constexpr long long most_qti_questions = most_set_count;
static_assert(qti_files(most_qti_questions) <= static_cast<long long>(most_zip_entries),
              "a Canvas package of the most questions would not fit in a zip");

constexpr auto table = std::to_array<set_form>({
    {"run", "", "", form_kind::text, false, "", "", "", 0, "", "", write_run},
    {"worksheet", "", "the questions, then a line \"Answers\", then the answers", form_kind::text,
     false, "", "", "", 0, "", "", write_worksheet},
    {"moodle", "", "a Moodle XML quiz file: one embedded-answers question each", form_kind::file,
     false, "Download for Moodle", ".xml", "application/xml", most_moodle_questions,
     "a Moodle file", ", as Moodle's import runs out of memory past about 8000", write_moodle_form},
    {"qti", "",
     "a quiz package for Canvas (IMS QTI 1.2, a zip): an item for\n"
     "each value a question asks for; send it to a file",
     form_kind::binary, false, "Download for Canvas", ".zip", "application/zip", most_qti_questions,
     "a Canvas package", "", write_qti_form},
    {"list", "", "with a class: who has which version and set, as CSV", form_kind::file, true,
     "Download the class list", ".csv", "text/csv", 0, "", "", write_list},
    {"figures", "DIR",
     "each question's figures as SVG files, DIR/question-K.svg\n"
     "and DIR/answer-K.svg (DIR is made if it is missing)",
     form_kind::folder, false, "", "", "", 0, "", "", write_figures},
    {"answer-sheets", "DIR",
     "each student's answer pages to mark with --mark, as SVG files,\n"
     "DIR/version-V-page-P.svg (A4; Letter with --letter)",
     form_kind::folder, false, "", "", "", 0, "", "", write_answer_sheets},
});

}  // namespace

const std::span<const set_form> set_forms = table;

const set_form* form_named(std::string_view name) noexcept {
  const auto found = std::find_if(set_forms.begin(), set_forms.end(),
                                  [&](const set_form& form) { return form.name == name; });
  return found == set_forms.end() ? nullptr : &*found;
}

std::string form_refused(const set_form& form, long long questions) {
  if (form.most_questions == 0 || questions <= form.most_questions) {
    return "";
  }
  // "a Canvas package" makes "packages".
  const std::string_view unit = form.holder.substr(form.holder.rfind(' ') + 1);
  return std::string(form.holder) + " holds at most " +
         decimal(static_cast<std::uint32_t>(form.most_questions)) + " questions" +
         std::string(form.why) + "; this one would hold " +
         decimal(static_cast<std::uint32_t>(questions)) +
         ": ask for fewer versions or questions a " + std::string(unit) + ", and make more " +
         std::string(unit) + "s";
}

std::string file_name_of(const set_form& form, const handout& made) {
  return (made.of_class ? "projectile-class-" : "projectile-set-") + decimal(made.set) +
         std::string(form.extension);
}

}  // namespace projectile
