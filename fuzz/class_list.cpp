// libFuzzer target: arbitrary bytes as a class list, read as lines and as
// CSV. A list read holds 1 to 1,000 distinct names, each non-empty, without
// blanks around it, with no byte below 0x20 nor 0x7F, valid UTF-8 (checked
// by a round trip through the C++ library's own decoder) of at most 100
// characters; in plain lines (no tab, so no columns and no quoting), each
// name is in the input as it stands. A list refused says why, naming the
// line, or that it holds no names.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "class_list.h"
#include "require.h"

namespace {

// The number of characters of valid UTF-8, or -1.
long characters(std::string_view s) {
  long count = 0;
  for (std::size_t i = 0; i < s.size(); ++count) {
    const auto lead = static_cast<unsigned char>(s[i]);
    const std::size_t length = lead < 0x80                   ? 1
                               : lead >= 0xC2 && lead < 0xE0 ? 2
                               : lead >= 0xE0 && lead < 0xF0 ? 3
                               : lead >= 0xF0 && lead < 0xF5 ? 4
                                                             : 0;
    if (length == 0 || i + length > s.size()) {
      return -1;
    }
    for (std::size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0U) != 0x80U) {
        return -1;
      }
    }
    i += length;
  }
  return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view contents(reinterpret_cast<const char*>(data), size);
  for (const auto format : {projectile::list_format::lines, projectile::list_format::csv}) {
    const auto read = projectile::read_class_list(contents, format);
    if (const auto* refused = std::get_if<std::string>(&read)) {
      require(refused->starts_with("line ") || *refused == "the list holds no names",
              "a refusal that names no line");
      continue;
    }
    const auto& names = std::get<std::vector<std::string>>(read);
    require(!names.empty() && names.size() <= static_cast<std::size_t>(projectile::most_versions),
            "a list's size");
    require(std::set<std::string>(names.begin(), names.end()).size() == names.size(),
            "a name twice");
    for (const std::string& name : names) {
      require(!name.empty() && name.front() != ' ' && name.back() != ' ', "a blank name");
      require(
          std::none_of(name.begin(), name.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }),
          "a control character in a name");
      const long count = characters(name);
      require(count > 0 && count <= 100, "a name that is not UTF-8, or too long");
      if (format == projectile::list_format::lines &&
          contents.find('\t') == std::string_view::npos) {
        require(contents.find(name) != std::string_view::npos, "a name not in the list");
      }
    }
  }
  return 0;
}
