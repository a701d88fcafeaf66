// The page's address: the part after '#' names the view the page opens at and
// the set its first run takes, as '&'-separated parts ("#practice&set=S").
// Read here, and written here for a link that opens the page at a set.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace projectile {

inline constexpr std::array<std::string_view, 3> page_views = {"console", "practice", "worksheet"};

struct page_address {
  std::string_view view;                      // the first view named, else "console"
  std::optional<std::string_view> set_typed;  // as written after the first "set="
  std::optional<std::uint32_t> set;           // that text, read as a set
  std::string_view versions_typed;            // as written after "versions=": a class's
  std::string_view count_typed;               // as written after "count=": a sheet's
};
page_address read_address(std::string_view address) noexcept;

// The address's part that opens the page at `set`: "#set=S"; at Practice of
// `set`: "#practice&set=S"; at the Worksheet of a set, or of a class set
// with its number of versions (never its names, which stay on the
// teacher's machine), with its number of questions:
// "#worksheet&set=S&versions=K&count=N".
std::string address_of_set(std::uint32_t set);
std::string practice_address(std::uint32_t set);
std::string sheet_address(std::uint32_t set, int versions, int count);

// Where students open the page, for the links a class's list gives them:
// the web address the teacher typed (http or https, a school's site or a
// file in Moodle or Canvas), without its fragment; or, when none is typed,
// `here`, the page's own address without its fragment, which from a file
// opens on this computer only (`this_computer_only`). `problem` says why a
// typed address is not taken.
struct page_link {
  std::string link;
  bool this_computer_only;
  std::string problem;
};
page_link read_page_link(std::string_view typed, std::string_view here);

// Why an address's set is not taken, and what the run does instead.
std::string address_set_refused(std::string_view typed);

}  // namespace projectile
