// Marking a class's answer pages: each page read is put to its student, each
// value judged by the rule every form holds a student to, with the slip it
// comes from named, and the marks written as CSV. A value the bubbles leave
// doubtful waits, with where it is, for whoever marks to type it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "handout.h"
#include "problem_set.h"
#include "sheet_reader.h"

namespace projectile {

// A value still to settle, and where: whose it is, on which page, and where
// the value's block lies in the image it was read from.
struct unclear_value {
  int student;  // in the handout's order, from 0
  int page;
  int question;
  quantity what;
  std::string why;
  std::string source;  // the image, as whoever read it named it; empty: its page is not read
  pixel_quad where;
};

class class_marking {
 public:
  explicit class_marking(handout made);

  // A page read from an image named `source` (in what it says): whether it
  // is taken, and what the page is ("Ann Lee, page 2") or why it is
  // skipped: no answer page in it, a page of another set or class, a page
  // taken before.
  struct added {
    bool read;
    std::string said;
  };
  added add(const page_read& page, std::string_view source);

  // The value `typed` for one that is unclear; empty, or why it is refused.
  std::string settle(int student, int question, quantity what, std::string_view typed);

  [[nodiscard]] const handout& marked() const noexcept { return made_; }
  [[nodiscard]] std::vector<unclear_value> unclear() const;
  // Who has no page read at all: left out of the marks.
  [[nodiscard]] std::vector<std::string> unmarked() const;

  // "name,version,set,total,unclear", then each question's points and each
  // value read with its verdict: the heading row, then a row for each
  // student with a page read.
  [[nodiscard]] std::vector<std::vector<std::string>> table() const;
  // The table as CSV: UTF-8 after a byte-order mark, every field safe for a
  // spreadsheet.
  [[nodiscard]] std::string csv() const;

 private:
  struct value_state {
    bool read = false;  // its page was read
    value_read filled;
    std::string typed;  // whoever marks settled it so
    bool settled = false;
    std::string source;
    pixel_quad where{};
  };
  struct student_state {
    std::vector<problem> questions;
    std::vector<std::array<value_state, quantities.size()>> values;
    std::vector<std::string> pages_from;  // the source each page came from; empty: none yet
  };

  handout made_;
  std::vector<student_state> students_;
};

}  // namespace projectile
