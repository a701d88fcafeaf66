// An SVG drawing under construction: lines, arrows, curves, arcs, dots and
// shaded boxes in one stroked group, then the labels in one filled group, all
// in currentColor, every coordinate to a hundredth of a pixel, so that the
// same arithmetic gives the same bytes on every platform.
#pragma once

#include <string>
#include <string_view>

#include "text.h"

namespace projectile {

struct point {
  double x;
  double y;  // downward, as SVG has it
};

class drawing {
 public:
  // An <svg> with xmlns, role="img", width, height and viewBox, a <title>
  // and a <desc>; its labels `font_size` pixels high.
  drawing(double width, double height, double font_size, std::string_view title,
          std::string_view words);

  void line(point a, point b, std::string_view kind, bool dashed = false);
  // A line from `from` to `to` with a filled head at `to`.
  void arrow(point from, point to, std::string_view kind, bool dashed = false);
  // A quadratic Bezier from `from` through the control point to `to`.
  void curve(point from, point control, point to, std::string_view kind);
  // The arc of radius r about `centre` from direction (1, 0) to the unit
  // direction `towards`, turning the short way.
  void angle_arc(point centre, double r, point towards);
  void dot(point at);
  void shade(point corner, double width, double height);
  // A label whose baseline starts, is centred or ends at `at`.
  void label(point at, std::string_view anchor, const text& words);

  std::string done();

 private:
  void coordinate(std::string_view before, double value);
  void pair(point p);

  text head_;
  text labels_;
};

}  // namespace projectile
