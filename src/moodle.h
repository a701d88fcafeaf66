// A set as a Moodle XML quiz file: a category named after the set, then one
// embedded-answers (Cloze) question per question, with a blank for each value
// it asks for, its sketch, and its worked answer with its figure as feedback.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "blocks.h"
#include "figure.h"
#include "problem_set.h"
#include "text.h"

namespace projectile {

// The set's first `count` questions as the file, handed to `write` in blocks;
// false as soon as a write fails.
bool write_moodle(const problem_set& set, int count, const block_sink& write,
                  const figure_source& drawn = drawn_afresh);

// The same for a class: a category for each place, "Projectile motion, set
// S/Question k", holding that place's question of every version, from which
// a quiz takes one at random.
bool write_moodle_class(std::uint32_t class_set, std::span<const std::uint32_t> versions, int count,
                        const block_sink& write, const figure_source& drawn = drawn_afresh);

// The most questions a Moodle file holds: Moodle's import runs out of the
// memory it allows itself (384 MB, unless a site raises it) at about 8,000.
inline constexpr int most_moodle_questions = 4000;
// Why a file of `versions` versions of `count` questions each is refused,
// with how to split it; empty when it is not.
std::string moodle_refused(int versions, int count);

// Plain text as the file's HTML inside XML: escaped once for HTML and once
// more for XML, braces as character references so that no text can open a
// blank.
void append_moodle_text(text& out, std::string_view plain);
// Plain text as a Cloze blank's answer: a backslash before each character the
// blank's syntax reads (} # ~ / " \), then as HTML inside XML.
void append_cloze_answer(text& out, std::string_view plain);

}  // namespace projectile
