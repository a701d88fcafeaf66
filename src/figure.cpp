#include "figure.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

#include "answer.h"
#include "svg.h"
#include "text.h"

namespace projectile {

namespace {

// The answer's figure: a fixed width, the path drawn as large as fits in
// the plot's room; the impact arrow right of the landing point, with its
// angle's label above the ground beside it; below the ground, the arrow's
// components, then the range, then four lines of legend. Labels keep out of
// the path's way: the top's above it, a drop's left of its cliff, the
// angle's right of the landing, the rest under the ground. Lengths in
// pixels; the labels are large enough to read at 12 px when a phone draws
// the figure 330 px wide.
constexpr double answer_width = 480;
constexpr double answer_font = 18;
constexpr double room_left = 104;         // a drop's height, right-aligned left of its cliff
constexpr double room_above = 36;         // the highest point's label
constexpr double room_right = 100;        // the impact arrow, and its angle's label
constexpr double most_path_height = 240;  // a steep or tall path keeps to this
constexpr double impact_arrow = 60;
constexpr double line_step = 22;
// Below the ground: the range's dimension line clear of the impact arrow's
// components, its label, then the legend's first baseline.
constexpr double dimension_below = impact_arrow + 14;
constexpr double range_below = dimension_below + line_step;
constexpr double legend_top = range_below + line_step + 6;
constexpr double legend_lines = 4;
constexpr double room_below = legend_top + (legend_lines - 1) * line_step + 10;

// The question's sketch: a fixed size, not to scale.
constexpr double question_width = 360;
constexpr double question_font = 14;
constexpr double question_height = 200;
constexpr double launch_arrow = 120;

// Words and numbers as the question and the worked answer print them.
struct phrase {
  text out;

  phrase& operator<<(std::string_view piece) {
    out.append(piece);
    return *this;
  }
  phrase& operator<<(double value) {
    out.append_g(value);
    return *this;
  }
  // A launch parameter as the question prints it, from its drawn hundredths.
  phrase& given(int hundredths, float value) {
    out.append_hundredths(hundredths, value);
    return *this;
  }
};

constexpr std::string_view degree = "\u00B0";

phrase speed_given(const problem& p) {
  phrase w;
  w.given(p.q.speed, p.q.params.umag) << " m/s";
  return w;
}

phrase angle_or_height_given(const problem& p) {
  phrase w;
  if (p.q.type == kind::ground) {
    w.given(p.q.angle_or_height, p.q.params.angle) << degree;
  } else {
    w.given(p.q.angle_or_height, p.q.params.h) << " m";
  }
  return w;
}

// "launched from the ground at 20 m/s, 30° above the horizontal"
phrase launched(const problem& p) {
  phrase w;
  if (p.q.type == kind::ground) {
    w << "launched from the ground at " << speed_given(p).out.view() << ", "
      << angle_or_height_given(p).out.view() << " above the horizontal";
  } else {
    w << "launched horizontally at " << speed_given(p).out.view() << " from a height of "
      << angle_or_height_given(p).out.view();
  }
  return w;
}

phrase numbered(const problem& p) {
  phrase w;
  w.out.append_i(p.number);
  return w;
}

}  // namespace

answer_layout layout_of_answer(const problem& p) noexcept {
  const answer& a = p.a;
  const bool ground = p.q.type == kind::ground;
  const auto h = static_cast<double>(p.q.params.h);
  const double rise = ground ? a.max_height : h;  // the top's height above the ground
  const double scale =
      std::min((answer_width - room_left - room_right) / a.sx, most_path_height / rise);
  const double ground_y = room_above + rise * scale;
  const point launch{room_left, ground_y - h * scale};
  const point landing{room_left + a.sx * scale, ground_y};
  // A parabola is exactly the quadratic Bezier whose control point is where
  // the tangents at its ends meet: half the flight's time along either,
  // (ux, uy) t / 2 from the launch.
  const double half_time = static_cast<double>(a.t) / 2;
  const point control{launch.x + static_cast<double>(a.ux) * half_time * scale,
                      launch.y - static_cast<double>(a.uy) * half_time * scale};
  const point top =
      ground ? point{(launch.x + landing.x) / 2, ground_y - a.max_height * scale} : launch;
  // The impact velocity's direction from the same rounded values as the
  // speed and angle the answer prints.
  const auto vx = static_cast<double>(a.ux) / static_cast<double>(a.vmag);
  const double vy = -static_cast<double>(static_cast<float>(a.vy)) / static_cast<double>(a.vmag);
  const point impact{landing.x + impact_arrow * vx, landing.y + impact_arrow * vy};
  return {answer_width, ground_y + room_below, scale, ground_y, launch, control, landing, top,
          impact};
}

question_layout layout_of_question(const problem& p) noexcept {
  if (p.q.type == kind::horizontal) {
    const point launch{80, 50};
    return {launch, {launch.x + launch_arrow, launch.y}};
  }
  // The launch's direction from the answer's components, which are the
  // launch angle's cosine and sine times the speed.
  const point launch{70, 160};
  const auto u = static_cast<double>(p.q.params.umag);
  return {launch,
          {launch.x + launch_arrow * static_cast<double>(p.a.ux) / u,
           launch.y - launch_arrow * static_cast<double>(p.a.uy) / u}};
}

std::string question_figure_words(const problem& p) {
  phrase w;
  w << "A sketch of the question: ";
  if (p.q.type == kind::ground) {
    w << "the ground, and on it the launch point, with the launch velocity drawn as an arrow "
         "labelled "
      << speed_given(p).out.view() << " at an angle marked " << angle_or_height_given(p).out.view()
      << " above the horizontal.";
  } else {
    w << "the ground, and a cliff marked " << angle_or_height_given(p).out.view()
      << " high with the launch point at its top, with the launch velocity drawn as a horizontal "
         "arrow labelled "
      << speed_given(p).out.view() << ".";
  }
  return std::string(w.out.view());
}

std::string question_figure(const problem& p) {
  phrase title;
  title << "Question " << numbered(p).out.view() << ": " << launched(p).out.view();
  drawing svg(question_width, question_height, question_font, title.out.view(),
              question_figure_words(p));
  const question_layout at = layout_of_question(p);
  if (p.q.type == kind::ground) {
    svg.line({10, at.launch.y}, {question_width - 10, at.launch.y}, "ground");
    svg.arrow(at.launch, at.tip, "velocity");
    constexpr double arc = 34;
    svg.angle_arc(
        at.launch, arc,
        {(at.tip.x - at.launch.x) / launch_arrow, (at.tip.y - at.launch.y) / launch_arrow});
    svg.dot(at.launch);
    svg.label({at.tip.x + 8, at.tip.y - 6}, "start", speed_given(p).out);
    // Below the ground, under the arc: clear of the arrow at any angle.
    svg.label({at.launch.x + arc + 6, at.launch.y + 18}, "middle", angle_or_height_given(p).out);
  } else {
    constexpr double ground_y = 160;
    svg.shade({at.launch.x - 40, at.launch.y}, 40, ground_y - at.launch.y);
    svg.line({10, ground_y}, {question_width - 10, ground_y}, "ground");
    svg.line(at.launch, {at.launch.x, ground_y}, "cliff");
    svg.arrow(at.launch, at.tip, "velocity");
    svg.dot(at.launch);
    svg.label({(at.launch.x + at.tip.x) / 2, at.launch.y - 8}, "middle", speed_given(p).out);
    svg.label({at.launch.x + 8, (at.launch.y + ground_y) / 2 + 4}, "start",
              angle_or_height_given(p).out);
  }
  return svg.done();
}

std::string answer_figure_words(const problem& p) {
  const answer& a = p.a;
  phrase w;
  w << "The path of flight, drawn to scale: " << launched(p).out.view()
    << ", the projectile flies for " << static_cast<double>(a.t) << " s";
  if (p.q.type == kind::ground) {
    w << ", rises to a highest point " << a.max_height << " m above the ground and lands " << a.sx
      << " m away.";
  } else {
    w << " and lands " << a.sx << " m from the foot of the cliff.";
  }
  w << " It hits the ground at " << static_cast<double>(a.vmag) << " m/s, " << a.impact_degrees
    << degree << " below the horizontal, with components " << static_cast<double>(a.ux)
    << " m/s horizontal and " << a.vy << " m/s vertical, drawn as arrows at the landing point.";
  return std::string(w.out.view());
}

std::string answer_figure(const problem& p) {
  const answer& a = p.a;
  const answer_layout at = layout_of_answer(p);
  phrase title;
  title << "Question " << numbered(p).out.view() << ", answer: the path of flight to scale";
  drawing svg(at.width, at.height, answer_font, title.out.view(), answer_figure_words(p));

  // From a cliff's foot, so that its height's label, left of it, is clear
  // of the ground however low the cliff.
  constexpr double cliff = 24;
  const double ground_from = p.q.type == kind::ground ? 8 : at.launch.x - cliff;
  svg.line({ground_from, at.ground}, {at.width - 8, at.ground}, "ground");
  if (p.q.type == kind::ground) {
    svg.line({at.top.x, at.ground}, at.top, "height", true);
    svg.dot(at.top);
    phrase top;
    top << "height " << a.max_height << " m";
    svg.label({at.top.x, at.top.y - 8}, "middle", top.out);
  } else {
    svg.shade({at.launch.x - cliff, at.launch.y}, cliff, at.ground - at.launch.y);
    svg.line(at.launch, {at.launch.x, at.ground}, "cliff");
    svg.label({at.launch.x - cliff - 6, (at.launch.y + at.ground) / 2 + 6}, "end",
              angle_or_height_given(p).out);
  }
  svg.curve(at.launch, at.control, at.landing, "trajectory");
  svg.dot(at.launch);
  svg.dot(at.landing);

  // The impact velocity, its angle below the horizontal (the ground), and its
  // two components, down then across, clear of the ground line.
  svg.arrow(at.landing, at.impact, "velocity");
  const point corner{at.landing.x, at.impact.y};
  svg.arrow(at.landing, corner, "component", true);
  svg.arrow(corner, at.impact, "component", true);
  svg.angle_arc(
      at.landing, 20,
      {(at.impact.x - at.landing.x) / impact_arrow, (at.impact.y - at.landing.y) / impact_arrow});
  phrase angle;
  angle << a.impact_degrees << degree;
  svg.label({at.landing.x + 10, at.ground - 6}, "start", angle.out);

  // The range, as a dimension line below the components, with an extension
  // line down from each end.
  const double dimension_y = at.ground + dimension_below;
  svg.line({at.launch.x, at.ground + 4}, {at.launch.x, dimension_y + 4}, "range");
  svg.line({at.landing.x, at.impact.y + 4}, {at.landing.x, dimension_y + 4}, "range");
  svg.line({at.launch.x, dimension_y}, {at.landing.x, dimension_y}, "range");
  phrase range;
  range << "range " << a.sx << " m";
  svg.label({(at.launch.x + at.landing.x) / 2, at.ground + range_below}, "middle", range.out);

  std::array<phrase, static_cast<std::size_t>(legend_lines)> legend;
  legend[0] << "time of flight " << static_cast<double>(a.t) << " s";
  legend[1] << "impact speed " << static_cast<double>(a.vmag) << " m/s";
  legend[2] << "impact angle " << a.impact_degrees << degree << " below the horizontal";
  legend[3] << "vx = " << static_cast<double>(a.ux) << " m/s, vy = " << a.vy << " m/s";
  for (std::size_t i = 0; i < legend.size(); ++i) {
    svg.label({20, at.ground + legend_top + line_step * static_cast<double>(i)}, "start",
              legend[i].out);
  }
  return svg.done();
}

figures draw_figures(const problem& p) {
  return {question_figure(p), answer_figure(p)};
}

figures drawn_afresh(std::uint32_t /*set*/, const problem& p) {
  return draw_figures(p);
}

}  // namespace projectile
