// A class's own forms: a sheet for each student, then the key, each student's
// marking table; and the list of who has which version, as CSV for a mail
// merge. (A class's quiz files are the Moodle and QTI rooms'.)
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "blocks.h"

namespace projectile {

struct student {
  std::string name;  // "Version v" for a class without a list
  int version;       // from 1
  std::uint32_t set;
};

// Student i of `names` (or of `versions` unnamed ones) gets version i of
// class set `class_set`.
std::vector<student> class_of(std::uint32_t class_set, std::span<const std::string> names,
                              int versions);

// The students' sets, in their order.
std::vector<std::uint32_t> sets_of(std::span<const student> students);

// Each student's sheet, "NAME, set V" and then the set's first `count`
// questions as its worksheet has them, the sheets parted by form feeds; then,
// after one more, "Answers" and each student's name, set and marking table.
bool write_class_sheets(std::span<const student> students, int count, const block_sink& write);

// "name,version,set", then a line for each student, as RFC 4180 has CSV;
// with `link_of`, a fourth column, "practice": each student's Practice link.
using link_maker = std::function<std::string(std::uint32_t set)>;
bool write_class_list(std::span<const student> students, const block_sink& write,
                      const link_maker& link_of = {});

// A field as CSV holds it: quoted when it holds a comma, a quote or a line
// end, or begins or ends with a blank; and with a ' before a name that a
// spreadsheet would take for a formula (=, +, -, @, tab or CR first).
std::string csv_field(std::string_view value);

}  // namespace projectile
