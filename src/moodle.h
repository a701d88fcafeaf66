// A set as a Moodle XML quiz file: a category named after the set, then one
// embedded-answers (Cloze) question per question, with a blank for each value
// it asks for, its sketch, and its worked answer with its figure as feedback.
#pragma once

#include <string>
#include <string_view>

#include "blocks.h"
#include "figure.h"
#include "handout.h"
#include "text.h"

namespace projectile {

// The handout as the file, handed to `write` in blocks; false as soon as a
// write fails. A class's file has a category for each place, "Projectile
// motion, set S/Question k", holding that place's question of every
// version, from which a quiz takes one at random.
bool write_moodle(const handout& made, const block_sink& write,
                  const figure_source& drawn = drawn_afresh);

// Plain text as the file's HTML inside XML: escaped once for HTML and once
// more for XML, braces as character references so that no text can open a
// blank.
void append_moodle_text(text& out, std::string_view plain);
// Plain text as a Cloze blank's answer: a backslash before each character the
// blank's syntax reads (} # ~ / " \), then as HTML inside XML.
void append_cloze_answer(text& out, std::string_view plain);

}  // namespace projectile
