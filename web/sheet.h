// The page's Worksheet: the sheet of a set, or a sheet for each student of a
// class, made once from its fields as typed and kept, so that printing and
// every download take what the view shows, each figure drawn once.
#pragma once

#include <string>
#include <string_view>

#include "answer_sheet.h"
#include "handout.h"

namespace projectile {

// What was typed into the Worksheet's fields, as it was typed.
struct sheet_fields {
  std::string_view set;
  std::string_view count;     // empty: the default
  std::string_view versions;  // empty, or a number of versions for a class
  std::string_view names;     // empty, or a class's names, one a line
};

// The sheet those fields ask for, as JSON on the end of `out`: a note when
// the names and the number of versions typed disagree (the names decide); each
// student's heading, questions and sketches, the answer pages each has, the key's tables, a single
// set's worked answers and figures, the files' names and the address that
// opens the page at it; {"unchanged":true} when it is the sheet already
// made; or what is wrong with the fields, beside the field at fault.
void make_sheet(std::string& out, const sheet_fields& typed);

// The sheet made last in the form called `name` (one with a button, as the
// sheet's reply lists them), into `file`: the bytes projectile-set writes
// for the same set or class, a class's list with each student's Practice
// link on the page where students open it (`link`, as the teacher typed it,
// else `here`, see read_page_link). Its name and media type, and a note when
// the list's links open on this computer only; or, and `file` empty, why
// there is none: no sheet made yet, no such form of it, or a link refused.
struct sheet_download {
  std::string problem;
  std::string name;
  std::string_view type;
  std::string note;
};
sheet_download sheet_file(std::string& file, std::string_view name, std::string_view link,
                          std::string_view here);

// The sheet made last, or nullptr when there is none.
const handout* sheet_handout() noexcept;

// Page `page` of student `student`'s (from 0) answer sheet of the sheet made
// last, as projectile-set --answer-sheets writes it; empty when there is no
// such page.
std::string sheet_answer_page(int student, int page, paper size);

}  // namespace projectile
