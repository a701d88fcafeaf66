#include "markup.h"

#include <algorithm>
#include <array>

namespace projectile {

namespace {

// The characters markup must escape, each as XML has it escaped once, and
// as HTML carried inside XML has it, escaped twice.
struct entity {
  char plain;
  std::string_view once;
  std::string_view twice;
};
constexpr std::array<entity, 4> entities = {{{'&', "&amp;", "&amp;amp;"},
                                             {'<', "&lt;", "&amp;lt;"},
                                             {'>', "&gt;", "&amp;gt;"},
                                             {'"', "&quot;", "&amp;quot;"}}};

const entity* entity_of(char c) noexcept {
  const auto* found =
      std::find_if(entities.begin(), entities.end(), [c](const entity& e) { return e.plain == c; });
  return found == entities.end() ? nullptr : found;
}

template <class Escape>
void append_escaped(text& out, std::string_view plain, Escape escape) {
  for (const char c : plain) {
    const std::string_view escaped = escape(c);
    out.append(escaped.empty() ? std::string_view(&c, 1) : escaped);
  }
}

}  // namespace

std::string_view html_in_xml(char c) noexcept {
  const entity* e = entity_of(c);
  return e == nullptr ? std::string_view() : e->twice;
}

void append_html_in_xml(text& out, std::string_view plain) {
  append_escaped(out, plain, html_in_xml);
}

std::string_view xml_of(char c) noexcept {
  const entity* e = entity_of(c);
  return e == nullptr ? std::string_view() : e->once;
}

void append_xml(text& out, std::string_view plain) {
  append_escaped(out, plain, xml_of);
}

}  // namespace projectile
