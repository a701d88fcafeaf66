#include "svg.h"

#include <cmath>

namespace projectile {

namespace {

// Coordinates to a hundredth of a pixel: short, and the same wherever the
// arithmetic before them agrees (+, -, *, / and sqrt only, all correctly
// rounded on every platform). Adding 0 turns -0 into 0.
double pixel(double v) noexcept {
  return std::round(v * 100) / 100 + 0.0;
}

}  // namespace

drawing::drawing(double width, double height, double font_size, std::string_view title,
                 std::string_view words) {
  head_.append("<svg xmlns=\"http://www.w3.org/2000/svg\" role=\"img\" width=\"");
  head_.append_g(pixel(width));
  head_.append("\" height=\"");
  head_.append_g(pixel(height));
  head_.append("\" viewBox=\"0 0 ");
  head_.append_g(pixel(width));
  head_.append(" ");
  head_.append_g(pixel(height));
  head_.append("\">\n<title>");
  head_.append(title);
  head_.append("</title>\n<desc>");
  head_.append(words);
  head_.append(
      "</desc>\n<g fill=\"none\" stroke=\"currentColor\" stroke-width=\"1.5\" "
      "stroke-linecap=\"round\">\n");
  labels_.append("</g>\n<g fill=\"currentColor\" font-family=\"sans-serif\" font-size=\"");
  labels_.append_g(font_size);
  labels_.append("\">\n");
}

void drawing::line(point a, point b, std::string_view kind, bool dashed) {
  head_.append("<line class=\"");
  head_.append(kind);
  head_.append("\"");
  coordinate(" x1=\"", a.x);
  coordinate("\" y1=\"", a.y);
  coordinate("\" x2=\"", b.x);
  coordinate("\" y2=\"", b.y);
  head_.append(dashed ? "\" stroke-dasharray=\"4 3\"/>\n" : "\"/>\n");
}

void drawing::arrow(point from, point to, std::string_view kind, bool dashed) {
  constexpr double head_length = 9;
  constexpr double head_half_width = 4;
  const double dx = to.x - from.x;
  const double dy = to.y - from.y;
  const double length = std::sqrt(dx * dx + dy * dy);
  const double ux = dx / length;
  const double uy = dy / length;
  const point base{to.x - head_length * ux, to.y - head_length * uy};
  line(from, base, kind, dashed);
  head_.append("<path class=\"");
  head_.append(kind);
  head_.append("\" fill=\"currentColor\" stroke=\"none\" d=\"M");
  pair(to);
  head_.append("L");
  pair({base.x - head_half_width * uy, base.y + head_half_width * ux});
  head_.append("L");
  pair({base.x + head_half_width * uy, base.y - head_half_width * ux});
  head_.append("Z\"/>\n");
}

void drawing::curve(point from, point control, point to, std::string_view kind) {
  head_.append("<path class=\"");
  head_.append(kind);
  head_.append("\" d=\"M");
  pair(from);
  head_.append("Q");
  pair(control);
  head_.append(" ");
  pair(to);
  head_.append("\"/>\n");
}

void drawing::angle_arc(point centre, double r, point towards) {
  head_.append("<path class=\"angle\" d=\"M");
  pair({centre.x + r, centre.y});
  head_.append("A");
  head_.append_g(r);
  head_.append(" ");
  head_.append_g(r);
  head_.append(towards.y > 0 ? " 0 0 1 " : " 0 0 0 ");
  pair({centre.x + r * towards.x, centre.y + r * towards.y});
  head_.append("\"/>\n");
}

void drawing::dot(point at) {
  head_.append("<circle class=\"point\" fill=\"currentColor\" r=\"3\"");
  coordinate(" cx=\"", at.x);
  coordinate("\" cy=\"", at.y);
  head_.append("\"/>\n");
}

void drawing::shade(point corner, double width, double height) {
  head_.append("<rect class=\"cliff\" fill=\"currentColor\" fill-opacity=\"0.15\" stroke=\"none\"");
  coordinate(" x=\"", corner.x);
  coordinate("\" y=\"", corner.y);
  coordinate("\" width=\"", width);
  coordinate("\" height=\"", height);
  head_.append("\"/>\n");
}

void drawing::label(point at, std::string_view anchor, const text& words) {
  labels_.append("<text class=\"label\"");
  if (anchor != "start") {
    labels_.append(" text-anchor=\"");
    labels_.append(anchor);
    labels_.append("\"");
  }
  labels_.append(" x=\"");
  labels_.append_g(pixel(at.x));
  labels_.append("\" y=\"");
  labels_.append_g(pixel(at.y));
  labels_.append("\">");
  labels_.append(words.view());
  labels_.append("</text>\n");
}

std::string drawing::done() {
  head_.append(labels_.view());
  head_.append("</g>\n</svg>\n");
  return std::string(head_.view());
}

void drawing::coordinate(std::string_view before, double value) {
  head_.append(before);
  head_.append_g(pixel(value));
}
void drawing::pair(point p) {
  head_.append_g(pixel(p.x));
  head_.append(" ");
  head_.append_g(pixel(p.y));
}

}  // namespace projectile
