// The forms a handout takes, one entry each: how projectile-set asks for it
// and its help, the page's button, its file's name and type, its limit, and
// its writer. projectile-set's options, help and dispatch and the page's
// downloads are all read from this table: a new form is an entry and its
// writer.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "answer_sheet.h"
#include "blocks.h"
#include "class_forms.h"
#include "figure.h"
#include "handout.h"

namespace projectile {

// A folder form's files, each by its path in the folder ('/' between its
// own folders); false when one cannot be written.
using file_sink = std::function<bool(std::string_view path, std::string_view contents)>;

// Where a form goes, and what its writer may take from whoever asked.
struct form_output {
  block_sink write;                    // the text or the file, a block at a time
  file_sink files;                     // a folder form's files
  figure_source drawn = drawn_afresh;  // the figures, where a caller keeps them drawn
  link_maker link_of;                  // the list's Practice links, where there is a page
  paper sheets = paper::a4;            // what answer sheets are printed on
};

enum class form_kind {
  text,    // the console's text: a platform's own line ends
  file,    // a file's bytes, the same on every platform
  binary,  // the same, and no use on a terminal
  folder,  // files in a folder
};

struct set_form {
  std::string_view name;   // its option is --NAME; "run" is the form without one
  std::string_view value;  // what the option takes ("DIR"); empty: nothing
  std::string_view help;   // the help's words after the option, a line each
  form_kind kind;
  bool needs_class;
  std::string_view button;      // the page's download, if it has one
  std::string_view extension;   // of the file's name: ".xml"
  std::string_view media_type;  // as the page saves it
  // The most questions the form holds in all, versions times questions (0:
  // only the count's limit), and what it is called when it refuses more:
  // "a Moodle file holds at most ...; ... make more files".
  long long most_questions;
  std::string_view holder;
  std::string_view why;
  bool (*write)(const handout& made, const form_output& to);
};

// The run first: the form without an option.
extern const std::span<const set_form> set_forms;

// The form called `name`; nullptr when there is none.
const set_form* form_named(std::string_view name) noexcept;

// Why a handout of `questions` questions in all is too many for `form`, with
// how to split it; empty when it is not.
std::string form_refused(const set_form& form, long long questions);

// The file's name: "projectile-set-S.xml", or "projectile-class-S.xml".
std::string file_name_of(const set_form& form, const handout& made);

}  // namespace projectile
