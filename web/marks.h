// The Worksheet's Mark papers: the answer pages of the sheet on show, read
// from images the browser decoded, and what the teacher sees of them: the
// marks as a table and as CSV, and each value left to settle with where it
// lies in its image.
#pragma once

#include <string>
#include <string_view>

#include "sheet_reader.h"

namespace projectile {

// Starts marking the sheet on show afresh, as JSON on the end of `out`:
// {} or, when there is no sheet, why.
void marks_begin(std::string& out);

// One image of a page, named `source`: {"read":true|false,"said":...}.
void marks_add(std::string& out, const image_view& image, std::string_view source);

// A value typed for one left unclear, student `student` (from 0), question
// `question`, quantity `what` by its id ("range"): {} or why it is refused.
void marks_settle(std::string& out, int student, int question, std::string_view what,
                  std::string_view typed);

// The marks so far: {"rows":[[cell, ...], ...]} (the heading row first), the
// values to settle, {"unclear":[{"student","name","page","question","what",
// "label","why","source","where":[x0,y0,...,x3,y3]}, ...]}, its corners
// in its image's pixels, none below 0), and who has no page read,
// {"unmarked":[name, ...]}.
void marks_reply(std::string& out);

// The marks as projectile-set --mark writes them; empty before marking.
std::string marks_csv();
// Their file's name: "projectile-marks-S.csv", S the set or class set.
std::string marks_file_name();

}  // namespace projectile
