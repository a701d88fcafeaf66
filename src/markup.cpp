#include "markup.h"

namespace projectile {

std::string_view html_in_xml(char c) noexcept {
  switch (c) {
    case '&':
      return "&amp;amp;";
    case '<':
      return "&amp;lt;";
    case '>':
      return "&amp;gt;";
    case '"':
      return "&amp;quot;";
    default:
      return {};
  }
}

void append_html_in_xml(text& out, std::string_view plain) {
  for (const char c : plain) {
    const std::string_view escaped = html_in_xml(c);
    out.append(escaped.empty() ? std::string_view(&c, 1) : escaped);
  }
}

}  // namespace projectile
