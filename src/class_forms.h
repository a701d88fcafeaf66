// A class's own forms: a sheet for each student, then the key, each student's
// marking table; and the list of who has which version, as CSV for a mail
// merge. (A class's quiz files are the Moodle and QTI rooms'.)
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "blocks.h"
#include "handout.h"

namespace projectile {

// Each student's sheet, "NAME, set V" and then the set's first `count`
// questions as its worksheet has them, the sheets parted by form feeds; then,
// after one more, "Answers" and each student's name, set and marking table.
bool write_class_sheets(const handout& made, const block_sink& write);

// "name,version,set", then a line for each student, as RFC 4180 has CSV,
// in UTF-8 after a byte-order mark;
// with `link_of`, a fourth column, "practice": each student's Practice link.
using link_maker = std::function<std::string(std::uint32_t set)>;
bool write_class_list(const handout& made, const block_sink& write, const link_maker& link_of = {});

// A field as CSV holds it: quoted when it holds a comma, a quote or a line
// end, or begins or ends with a blank; and with a ' before a name that a
// spreadsheet would take for a formula (=, +, -, @, tab or CR first).
std::string csv_field(std::string_view value);

}  // namespace projectile
