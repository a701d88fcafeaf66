// libFuzzer target: arbitrary bytes as what a student types into a Practice
// field, for each quantity, and as a set's number. Checks the readers against
// the C library's: a value accepted is the number strtod reads from the same
// place (exactly so for up to 15 characters without an exponent, within a
// relative 1e-14 otherwise), followed only by blanks and the quantity's unit;
// over the characters a number is made of, exactly the texts strtod reads
// whole are accepted; and a set is a string of digits whose strtoull value is
// a 32-bit seed.
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "input.h"
#include "practice.h"
#include "problem_set.h"

namespace {

void require(bool condition, const char* what) {
  if (!condition) {
    (void)std::fprintf(stderr, "check failed: %s\n", what);
    std::abort();
  }
}

constexpr std::string_view blanks = " \t";

std::string_view trimmed(std::string_view s) {
  const std::size_t first = s.find_first_not_of(blanks);
  if (first == std::string_view::npos) {
    return {};
  }
  return s.substr(first, s.find_last_not_of(blanks) + 1 - first);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string typed(reinterpret_cast<const char*>(data), size);
  const std::string body(trimmed(typed));
  char* end = nullptr;
  const double reference = std::strtod(body.c_str(), &end);
  const std::string_view after = trimmed(std::string_view(end));
  const bool numeric = typed.find_first_not_of("0123456789+-.eE \t") == std::string::npos;

  for (const auto what : {projectile::quantity::time_of_flight, projectile::quantity::range,
                          projectile::quantity::max_height, projectile::quantity::impact_speed,
                          projectile::quantity::impact_angle}) {
    const auto value = projectile::read_typed(typed, what);
    if (value) {
      require(end != body.c_str(), "a number was accepted that strtod does not read");
      const std::string_view number(body.c_str(), static_cast<std::size_t>(end - body.c_str()));
      if (number.size() <= 15 && number.find_first_of("eE") == std::string_view::npos) {
        require(*value == reference, "the value is not strtod's");
      } else if (std::fabs(reference) >= 1e-300 && std::fabs(reference) <= 1e300) {
        require(std::fabs(*value - reference) <= 1e-14 * std::fabs(reference),
                "the value is far from strtod's");
      }
      require(after.empty() || after == projectile::unit_of(what) ||
                  (what == projectile::quantity::impact_angle && after == "\u00B0"),
              "something other than the unit follows the number");
    }
    if (numeric) {
      const bool whole = !body.empty() && end == body.c_str() + body.size();
      require(value.has_value() == whole,
              "accepted a text strtod does not read whole, or not one it does");
    }
  }

  const auto set = projectile::parse_set(typed);
  if (typed.empty() || typed.find_first_not_of("0123456789") != std::string::npos) {
    require(!set, "a set was read from more than digits");
  } else {
    errno = 0;
    const unsigned long long digits = std::strtoull(typed.c_str(), nullptr, 10);
    const bool seed = errno == 0 && digits <= UINT32_MAX;
    require(set.has_value() == seed && (!set || *set == digits), "the set is not strtoull's");
  }

  // A page's address: the set it names is one of its own parts, read as a set.
  if (const auto named = projectile::set_in_address(typed)) {
    const auto* start = named->typed.data();
    require(start >= typed.data() + 4 &&
                start + named->typed.size() <= typed.data() + typed.size() &&
                std::string_view(start - 4, 4) == "set=",
            "an address's set is not a part of it after set=");
    require(named->typed.find('&') == std::string_view::npos,
            "an address's set runs past its part");
    require(named->set == projectile::parse_set(named->typed),
            "an address's set is not read as a set");
  }

  std::vector<std::string_view> arguments;
  for (std::size_t start = 0; start <= typed.size();) {
    const std::size_t cut = std::min(typed.find('\0', start), typed.size());
    arguments.emplace_back(typed.data() + start, cut - start);
    start = cut + 1;
  }
  const auto request = projectile::parse_set_arguments(arguments);
  if (const auto* given = std::get_if<projectile::set_request>(&request)) {
    require(given->count >= 1 && given->count <= projectile::most_set_count,
            "a count out of range was accepted");
  } else {
    require(!std::get<std::string>(request).empty(), "a refusal without a reason");
  }
  return 0;
}
