// Text inside the HTML that a quiz file carries as XML character data:
// escaped once for HTML and once more for XML, so that an import gives back
// the text as it was, whatever it holds.
#pragma once

#include <string_view>

#include "text.h"

namespace projectile {

// The escape of one character, or nothing for a character that needs none.
std::string_view html_in_xml(char c) noexcept;
void append_html_in_xml(text& out, std::string_view plain);

// Plain text as XML character data or an attribute's value, once escaped
// (an SVG's title and labels).
std::string_view xml_of(char c) noexcept;
void append_xml(text& out, std::string_view plain);

}  // namespace projectile
