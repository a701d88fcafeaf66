#include "figure.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <numeric>
#include <string>

namespace projectile {
namespace {

// The point at parameter s of the quadratic Bezier the path is drawn as.
point on_path(const answer_layout& at, double s) {
  const double r = 1 - s;
  return {r * r * at.launch.x + 2 * r * s * at.control.x + s * s * at.landing.x,
          r * r * at.launch.y + 2 * r * s * at.control.y + s * s * at.landing.y};
}

// The drawn path against the worked answer, over a few thousand questions
// of one set: it starts at the launch point and ends at the landing point
// the range away; its highest point is where the answer puts it, on one
// scale across and up; its end tangents and the impact arrow make the
// launch and impact angles; and everything lies inside the figure.
TEST(AnswerFigure, DrawsThePathToOneScale) {
  const problem_set questions(1796634001);
  for (int n = 1; n <= 3000; ++n) {
    const problem p = questions.at(n);
    const answer_layout at = layout_of_answer(p);
    const double close = 1e-6 * at.width;
    const bool ground = p.q.type == kind::ground;
    EXPECT_NEAR(at.landing.x - at.launch.x, p.a.sx * at.scale, close);
    EXPECT_NEAR(at.landing.y, at.ground, close);
    EXPECT_NEAR(at.ground - at.launch.y, static_cast<double>(p.q.params.h) * at.scale, close);
    if (ground) {
      // The Bezier's highest point is at its middle, and the answer's too.
      const point middle = on_path(at, 0.5);
      EXPECT_NEAR(middle.x, at.top.x, close) << n;
      EXPECT_NEAR(at.ground - middle.y, p.a.max_height * at.scale, 1e-5 * at.height) << n;
      const double launch_angle =
          std::atan2(at.launch.y - at.control.y, at.control.x - at.launch.x);
      EXPECT_NEAR(launch_angle * 180 / 3.141592653589793, static_cast<double>(p.q.params.angle),
                  1e-4)
          << n;
    } else {
      EXPECT_EQ(at.top.y, at.launch.y);
      EXPECT_EQ(at.control.y, at.launch.y);  // launched horizontally
    }
    // The path comes in along the impact arrow's direction, below the
    // horizontal by the printed angle.
    const double arrow = std::atan2(at.impact.y - at.landing.y, at.impact.x - at.landing.x);
    const double tangent = std::atan2(at.landing.y - at.control.y, at.landing.x - at.control.x);
    EXPECT_NEAR(arrow * 180 / 3.141592653589793, p.a.impact_degrees, 1e-4) << n;
    EXPECT_NEAR(tangent, arrow, 1e-4) << n;
    for (const point q : {at.launch, at.landing, at.top, at.impact}) {  // not the control point
      EXPECT_GE(q.x, 0);
      EXPECT_LE(q.x, at.width);
      EXPECT_GE(q.y, 0);
      EXPECT_LE(q.y, at.height);
    }
  }
}

// The question's sketch gives the launch angle as drawn and nothing of the
// answer: no path, no landing, none of the worked answer's numbers.
TEST(QuestionFigure, ShowsTheGivenValuesAndNoAnswer) {
  const problem_set questions(1796634001);
  for (int n = 1; n <= 200; ++n) {
    const problem p = questions.at(n);
    const question_layout at = layout_of_question(p);
    const double angle = std::atan2(at.launch.y - at.tip.y, at.tip.x - at.launch.x);
    EXPECT_NEAR(angle * 180 / 3.141592653589793, static_cast<double>(p.q.params.angle), 1e-4);
    const std::string figure = question_figure(p);
    EXPECT_EQ(figure.find("trajectory"), std::string::npos);
    std::string question = question_text(p);
    for (const asked_value& asked : p.asked.view()) {
      const std::string printed(asked.printed.view());
      // A given value may print as an asked one does (a ground launch's
      // speed and angle return at impact); any other must not appear.
      if (question.find(printed) == std::string::npos) {
        EXPECT_EQ(figure.find(printed), std::string::npos) << n << ": " << printed;
      }
    }
  }
}

// The figures are output as the answers are, and must be the same bytes on
// every platform: each build's unit tests hold them to one digest (FNV-1a)
// over both figures of 2,000 questions, as the sweep holds the text. (Its
// value changes only with the drawing: last when the answer's impact end
// got its angle's label, components clear of the ground and labels a phone
// shows at 12 px.)
TEST(Figures, AreTheSameBytesOnEveryPlatform) {
  std::uint64_t digest = 0xCBF29CE484222325U;
  const problem_set questions(1796634001);
  for (int n = 1; n <= 2000; ++n) {
    const problem p = questions.at(n);
    for (const std::string& figure : {question_figure(p), answer_figure(p)}) {
      digest = std::accumulate(figure.begin(), figure.end(), digest, [](std::uint64_t d, char c) {
        return (d ^ static_cast<unsigned char>(c)) * 0x100000001B3U;
      });
    }
  }
  EXPECT_EQ(digest, 0x4887DFF1F8C346AFU) << std::hex << digest;
}

}  // namespace
}  // namespace projectile
