#include "sheet.h"

#include <cstdint>
#include <optional>
#include <vector>

#include "address.h"
#include "class_list.h"
#include "class_set.h"
#include "figure.h"
#include "forms.h"
#include "handout.h"
#include "input.h"
#include "json.h"
#include "problem_set.h"
#include "set_text.h"
#include "text.h"

namespace projectile {

namespace {

// Every question is a block of the page to lay out and print: a sheet of more
// than a hundred is a book, and a class's sheets of more than 2,000 a box of
// them.
constexpr int most_sheet_count = 100;
constexpr int most_class_questions = 2000;

struct kept_sheet {
  std::string typed;  // the fields it was made from
  handout made;
  std::vector<std::vector<figures>> drawn;  // each student's, by question
};
std::optional<kept_sheet> kept;

// The fields, each after its length: no two ways of typing them are one key.
std::string fields_key(const sheet_fields& typed) {
  std::string key;
  for (const std::string_view field : {typed.set, typed.count, typed.versions, typed.names}) {
    key += decimal(static_cast<std::uint32_t>(field.size()));
    key += ':';
    key += field;
  }
  return key;
}

// A refused field: what is wrong, and which field is at fault.
void refuse(std::string& out, const std::string& problem, std::string_view field) {
  kept.reset();
  json_object(out).text("problem", problem).text("field", field).done();
}

void quote_row(std::string& out, const problem& p) {
  const auto row = key_row(p);
  out += '[';
  for (std::size_t c = 0; c < row.size(); ++c) {
    out += c == 0 ? "" : ",";
    json_object::quote(out, row[c]);
  }
  out += ']';
}

std::string heading_of(const handout& made, const student& s) {
  return made.of_class ? s.name + ", set " + decimal(s.set) : "";
}

const figures& kept_figures(std::uint32_t set, const problem& p) {
  const kept_sheet& sheet = *kept;
  std::size_t i = 0;
  while (sheet.made.students[i].set != set) {
    ++i;
  }
  return sheet.drawn[i][static_cast<std::size_t>(p.number - 1)];
}

// The forms the page offers for this handout: those with a button, and a
// class's own only for a class.
bool offered(const set_form& form, const handout& made) {
  return !form.button.empty() && (made.of_class || !form.needs_class);
}

}  // namespace

void make_sheet(std::string& out, const sheet_fields& typed) {
  const typed_choice set = read_choice(typed.set, 0, highest_set);
  if (!set.value) {
    return refuse(out, "Set " + set.refused + ".", "set");
  }
  // An empty count asks for the default, as projectile-set without --count.
  const typed_choice count = typed.count.empty() ? typed_choice{default_set_count, {}}
                                                 : read_choice(typed.count, 1, most_sheet_count);
  if (!count.value) {
    return refuse(out,
                  "Questions " + count.refused + " (projectile-set writes up to " +
                      decimal(most_set_count) + ").",
                  "count");
  }
  std::vector<std::string> names;
  if (typed.names.find_first_not_of(" \t\r\n") != std::string_view::npos) {
    auto read = read_class_list(typed.names, list_format::lines);
    if (const auto* refused = std::get_if<std::string>(&read)) {
      return refuse(out, "Names: " + *refused + ".", "names");
    }
    names = std::move(std::get<std::vector<std::string>>(read));
  }
  int versions = static_cast<int>(names.size());
  // Names decide how many versions there are; a number typed beside them
  // that says otherwise is not silently passed over.
  std::string note;
  if (!names.empty() && !typed.versions.empty() &&
      typed.versions != decimal(static_cast<std::uint32_t>(versions))) {
    const std::string many = decimal(static_cast<std::uint32_t>(versions));
    note = "There are " + many + " names, so " + many + " versions, one each; Versions (" +
           std::string(typed.versions) + ") counts only when there are no names.";
  }
  if (names.empty() && !typed.versions.empty()) {
    const typed_choice asked = read_choice(typed.versions, 1, most_versions);
    if (!asked.value) {
      return refuse(out, "Versions " + asked.refused + ".", "versions");
    }
    versions = static_cast<int>(*asked.value);
  }
  const auto n = static_cast<int>(*count.value);
  if (static_cast<long long>(versions) * n > most_class_questions) {
    return refuse(out,
                  "A class's sheets hold at most " + decimal(most_class_questions) +
                      " questions, and this class's would hold " +
                      decimal(static_cast<std::uint32_t>(versions * n)) +
                      ": ask for fewer questions or versions (projectile-set makes more).",
                  "count");
  }
  const std::string key = fields_key(typed);
  if (kept && kept->typed == key) {
    json_object(out).flag("unchanged", true).number("count", *count.value).done();
    return;
  }
  kept.emplace(kept_sheet{key,
                          versions > 0 ? handout_of_class(*set.value, n, names, versions)
                                       : handout_of_set(*set.value, n),
                          {}});
  const handout& made = kept->made;
  for (const student& s : made.students) {
    auto& drawn = kept->drawn.emplace_back();
    problem_set(s.set).each(n, [&](int k, const question& q) {
      drawn.push_back(draw_figures(problem_of(k, q)));
      return true;
    });
  }
  const std::string number = decimal(made.set);
  json_object reply(out);
  reply.number("count", *count.value)
      .text("note", note)
      .text("title", (made.of_class ? "Projectile motion questions, class set "
                                    : "Projectile motion questions, set ") +
                         number)
      .flag("ofClass", made.of_class)
      .number("answerPages", static_cast<std::uint32_t>(pages_of(made.count)))
      .list("sheets", made.students.size(),
            [&](std::size_t i) {
              const problem_set questions(made.students[i].set);
              json_object(out)
                  .text("heading", heading_of(made, made.students[i]))
                  .list("questions", static_cast<std::size_t>(n),
                        [&](std::size_t k) {
                          json_object::quote(out,
                                             question_text(questions.at(static_cast<int>(k) + 1)));
                        })
                  .list("figures", static_cast<std::size_t>(n),
                        [&](std::size_t k) { json_object::quote(out, kept->drawn[i][k].question); })
                  .done();
            })
      .list("head", key_columns.size(),
            [&](std::size_t c) { json_object::quote(out, key_columns[c]); })
      .list("keys", made.students.size(), [&](std::size_t i) {
        const problem_set questions(made.students[i].set);
        json_object(out)
            .text("heading", heading_of(made, made.students[i]))
            .list("rows", static_cast<std::size_t>(n),
                  [&](std::size_t k) { quote_row(out, questions.at(static_cast<int>(k) + 1)); })
            .done();
      });
  // A set alone has its worked answers in the key; a class's students get
  // theirs from Practice at their own sets.
  const problem_set single(made.set);
  const std::size_t answers = made.of_class ? 0 : static_cast<std::size_t>(n);
  std::vector<const set_form*> downloads;
  for (const set_form& form : set_forms) {
    if (offered(form, made)) {
      downloads.push_back(&form);
    }
  }
  reply
      .list("answers", answers,
            [&](std::size_t k) {
              const problem p = single.at(static_cast<int>(k) + 1);
              json_object::quote(
                  out, decimal(static_cast<std::uint32_t>(p.number)) + ".\n" + answer_text(p));
            })
      .list("answerFigures", answers,
            [&](std::size_t k) { json_object::quote(out, kept->drawn[0][k].answer); })
      .list("downloads", downloads.size(),
            [&](std::size_t d) {
              json_object(out)
                  .text("form", downloads[d]->name)
                  .text("label", downloads[d]->button)
                  .done();
            })
      .text("address", sheet_address(made.set, made.of_class ? versions : 0, n))
      .done();
}

const handout* sheet_handout() noexcept {
  return kept ? &kept->made : nullptr;
}

std::string sheet_answer_page(int student, int page, paper size) {
  if (!kept || student < 0 || student >= static_cast<int>(kept->made.students.size()) || page < 1 ||
      page > pages_of(kept->made.count)) {
    return "";
  }
  return answer_page(kept->made, kept->made.students[static_cast<std::size_t>(student)], page,
                     size);
}

sheet_download sheet_file(std::string& file, std::string_view name, std::string_view link,
                          std::string_view here) {
  file.clear();
  if (!kept) {
    return {"There is no sheet yet: press Show first.", {}, {}, {}};
  }
  const handout& made = kept->made;
  const set_form* form = form_named(name);
  if (form == nullptr || !offered(*form, made)) {
    return {"The page makes no such file of this sheet.", {}, {}, {}};
  }
  if (const std::string refused =
          form_refused(*form, static_cast<long long>(made.students.size()) * made.count);
      !refused.empty()) {
    return {"This sheet is too large for the file: " + refused + ".", {}, {}, {}};
  }
  const page_link page = read_page_link(link, here);
  if (!page.problem.empty()) {
    return {page.problem, {}, {}, {}};
  }
  form->write(made, {[&file](std::string_view block) {
                       file += block;
                       return true;
                     },
                     {},
                     kept_figures,
                     [&](std::uint32_t set) { return page.link + practice_address(set); }});
  const bool links = form == form_named("list");
  return {{},
          file_name_of(*form, made),
          form->media_type,
          links && page.this_computer_only
              ? "Its Practice links open this page on this computer only, as it was opened "
                "from a file: give the address where students will open it."
              : ""};
}

}  // namespace projectile
