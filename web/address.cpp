#include "address.h"

#include <algorithm>

#include "input.h"
#include "problem_set.h"
#include "text.h"

namespace projectile {

namespace {

constexpr std::string_view set_key = "set=";
constexpr std::string_view versions_key = "versions=";
constexpr std::string_view count_key = "count=";

}  // namespace

page_address read_address(std::string_view address) noexcept {
  page_address read{page_views[0], std::nullopt, std::nullopt, {}, {}};
  bool viewed = false;
  if (const auto hash = address.find('#'); hash != std::string_view::npos) {
    address.remove_prefix(hash + 1);
  }
  while (!address.empty()) {
    const auto end = std::min(address.find('&'), address.size());
    // Cut in place: substr() may throw, which brings the exception runtime
    // into the page.
    std::string_view part(address.data(), end);
    if (part.starts_with(set_key) && !read.set_typed) {
      part.remove_prefix(set_key.size());
      read.set_typed = part;
      read.set = whole_number(part);
    } else if (part.starts_with(versions_key)) {
      part.remove_prefix(versions_key.size());
      read.versions_typed = part;
    } else if (part.starts_with(count_key)) {
      part.remove_prefix(count_key.size());
      read.count_typed = part;
    } else if (!viewed) {
      const auto* named = std::find(page_views.begin(), page_views.end(), part);
      if (named != page_views.end()) {
        read.view = *named;
        viewed = true;
      }
    }
    address.remove_prefix(std::min(end + 1, address.size()));
  }
  return read;
}

std::string address_of_set(std::uint32_t set) {
  // A piece at a time: GCC 12 warns falsely (-Wrestrict) of "#" +
  // std::string on 32-bit targets.
  std::string address(1, '#');
  address += set_key;
  address += decimal(set);
  return address;
}

std::string practice_address(std::uint32_t set) {
  std::string address("#practice&");
  address += set_key;
  address += decimal(set);
  return address;
}

std::string sheet_address(std::uint32_t set, int versions, int count) {
  std::string address("#worksheet&");
  address += set_key;
  address += decimal(set);
  if (versions > 0) {
    address += '&';
    address += versions_key;
    address += decimal(static_cast<std::uint32_t>(versions));
  }
  address += '&';
  address += count_key;
  address += decimal(static_cast<std::uint32_t>(count));
  return address;
}

page_link read_page_link(std::string_view typed, std::string_view here) {
  const auto without_fragment = [](std::string_view address) {
    return std::string(address.substr(0, std::min(address.find('#'), address.size())));
  };
  constexpr std::string_view blanks = " \t\r\n";
  const auto first = typed.find_first_not_of(blanks);
  if (first == std::string_view::npos) {
    return {without_fragment(here), !here.starts_with("http:") && !here.starts_with("https:"), {}};
  }
  typed = typed.substr(first, typed.find_last_not_of(blanks) + 1 - first);
  constexpr std::size_t longest = 2000;
  const bool web = typed.starts_with("https://") || typed.starts_with("http://");
  const bool plain = std::none_of(typed.begin(), typed.end(), [](char c) {
    return static_cast<unsigned char>(c) <= ' ' || c == '\x7F';
  });
  // A host after the scheme: "https://" alone, or "https:///x", is no place.
  const std::string_view host = web ? typed.substr(typed.find("//") + 2) : std::string_view{};
  if (!web || !plain || typed.size() > longest || host.empty() || host[0] == '/' ||
      host[0] == '#' || host[0] == '?') {
    return {{},
            false,
            "Students' address must be a web address, such as "
            "https://school.example/projectile-questions.html, without spaces."};
  }
  return {without_fragment(typed), false, {}};
}

std::string address_set_refused(std::string_view typed) {
  return "The address asks for set \"" + std::string(typed) + "\", which is not " +
         whole_number_range(0, highest_set) + ", so this run takes its set from the clock.";
}

}  // namespace projectile
