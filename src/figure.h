// Figures: two standalone SVG drawings of each question. The question's
// sketch shows only what the question gives; the answer's figure draws the
// path of flight to scale, with the worked answer's printed values.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "problem_set.h"
#include "svg.h"

namespace projectile {

// Where the answer's figure puts things, in the figure's pixels: one scale
// for both axes, so that angles look as they are.
struct answer_layout {
  double width;
  double height;
  double scale;   // pixels per metre, across and up alike
  double ground;  // the ground's y
  point launch;   // the path: launch .. landing, a quadratic Bezier
  point control;  // through this control point
  point landing;
  point top;     // the highest point; a horizontal launch's is its launch
  point impact;  // the tip of the impact velocity's arrow, from `landing`
};
answer_layout layout_of_answer(const problem& p) noexcept;

// Where the question's sketch puts its launch velocity's arrow.
struct question_layout {
  point launch;
  point tip;
};
question_layout layout_of_question(const problem& p) noexcept;

// Each figure's text: an <svg> element with xmlns, role="img", width,
// height and viewBox, a <title>, a <desc> that says in words all that is
// drawn, and colours through currentColor only. The same bytes everywhere.
std::string question_figure(const problem& p);
std::string answer_figure(const problem& p);

// Both figures of a question.
struct figures {
  std::string question;
  std::string answer;
};
figures draw_figures(const problem& p);

// The figures of question p of `set`, as a file carries them: drawn afresh
// (drawn_afresh), or taken from where a caller already keeps them.
using figure_source = std::function<figures(std::uint32_t set, const problem& p)>;
figures drawn_afresh(std::uint32_t set, const problem& p);

// A figure's <desc>, alone: the alternative text where it is an image.
std::string question_figure_words(const problem& p);
std::string answer_figure_words(const problem& p);

}  // namespace projectile
