// libFuzzer target: arbitrary bytes as what a student types into a Practice
// field, for each quantity, as a set's number, a page's address, the address
// where students open the page, a kept Practice record and projectile-set's
// arguments. Checks the readers against
// the C library's: a value accepted is the number strtod reads from the same
// place (exactly so for up to 15 characters without an exponent, within a
// relative 1e-14 otherwise), followed only by blanks and a unit of the
// quantity, by whose factor it is converted;
// over the characters a number is made of, exactly the texts strtod reads
// whole are accepted; and a set is a string of digits whose strtoull value is
// a 32-bit seed.
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "address.h"
#include "input.h"
#include "practice.h"
#include "require.h"
#include "set_arguments.h"
#include "slip.h"
#include "typed_value.h"

namespace {

constexpr std::string_view blanks = " \t";

std::string_view trimmed(std::string_view s) {
  const std::size_t first = s.find_first_not_of(blanks);
  if (first == std::string_view::npos) {
    return {};
  }
  return s.substr(first, s.find_last_not_of(blanks) + 1 - first);
}

// The units a student may type for each quantity, and the factor each takes
// a value by to the unit the answer prints; nullopt for any other text.
std::optional<double> factor_of(std::string_view unit, projectile::quantity what) {
  using projectile::quantity;
  struct form {
    std::string_view unit;
    double factor;
  };
  std::vector<form> forms;
  switch (what) {
    case quantity::time_of_flight:
      forms = {{"s", 1}, {"sec", 1}, {"second", 1}, {"seconds", 1}};
      break;
    case quantity::range:
    case quantity::max_height:
      forms = {{"m", 1}, {"km", 1000}, {"cm", 0.01}};
      break;
    case quantity::impact_speed:
      forms = {{"m/s", 1}, {"m s\u207B\u00B9", 1}, {"m s-1", 1}, {"km/h", 1000.0 / 3600.0}};
      break;
    case quantity::impact_angle:
      forms = {{"degrees", 1},
               {"degree", 1},
               {"deg", 1},
               {"\u00B0", 1},
               {"rad", 180 / std::numbers::pi}};
      break;
  }
  const auto found =
      std::find_if(forms.begin(), forms.end(), [&](const form& f) { return f.unit == unit; });
  return found == forms.end() ? std::nullopt : std::optional<double>(found->factor);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string typed(reinterpret_cast<const char*>(data), size);
  std::string body(trimmed(typed));
  // The minus sign U+2212 before the number is a minus, as a hyphen is.
  if (body.starts_with("\u2212") && body.size() > 3 && body[3] != '-' && body[3] != '+') {
    body.replace(0, 3, "-");
  }
  // One comma and no point: the comma is the decimal mark, as strtod reads a
  // point. A comma beside a point is refused whatever else is typed.
  const auto commas = std::count(body.begin(), body.end(), ',');
  const bool points = body.find('.') != std::string::npos;
  if (commas == 1 && !points) {
    body[body.find(',')] = '.';
  }
  char* end = nullptr;
  const double reference = std::strtod(body.c_str(), &end);
  const std::string_view after = trimmed(std::string_view(end));
  const bool numeric = typed.find_first_not_of("0123456789+-.,eE \t") == std::string::npos;

  for (const auto what : {projectile::quantity::time_of_flight, projectile::quantity::range,
                          projectile::quantity::max_height, projectile::quantity::impact_speed,
                          projectile::quantity::impact_angle}) {
    const projectile::reading read = projectile::read_value(typed, what);
    const auto& value = read.value;
    require(value.has_value() == (read.why == projectile::refusal::none),
            "a value with a refusal, or a refusal without one");
    if (commas > 0 && points) {
      require(read.why == projectile::refusal::comma_and_point, "a comma and a point were read");
    }
    if (read.why == projectile::refusal::other_unit) {
      require(!factor_of(read.unit, what), "the field's own unit was refused");
    }
    if (value) {
      require(end != body.c_str(), "a number was accepted that strtod does not read");
      const std::string_view number(body.c_str(), static_cast<std::size_t>(end - body.c_str()));
      require(after.empty() || factor_of(after, what).has_value(),
              "something other than a unit of the quantity follows the number");
      const double expected = reference * factor_of(after, what).value_or(1);
      if (number.size() <= 15 && number.find_first_of("eE") == std::string_view::npos) {
        require(*value == expected, "the value is not strtod's, converted");
      } else if (std::fabs(reference) >= 1e-300 && std::fabs(reference) <= 1e300) {
        require(std::fabs(*value - expected) <= 1e-14 * std::fabs(expected),
                "the value is far from strtod's");
      }
      // Whatever is typed, a slip is named only for a value that is not right.
      const projectile::question q = projectile::question_of(projectile::kind::ground, 2000, 3000);
      const auto asked = projectile::asked_of(q.type, projectile::solve(q.params));
      for (const auto& a : asked.view()) {
        if (projectile::is_right(*value, a.value)) {
          require(projectile::slip_of(q, a, *value) == projectile::slip::none,
                  "a right value was named as a slip");
        }
      }
    }
    if (numeric && !(commas > 0 && points) && commas <= 1) {
      const bool whole = !body.empty() && end == body.c_str() + body.size();
      require(value.has_value() == whole,
              "accepted a text strtod does not read whole, or not one it does");
    }
  }

  const auto set = projectile::whole_number(typed);
  if (typed.empty() || typed.find_first_not_of("0123456789") != std::string::npos) {
    require(!set, "a set was read from more than digits");
  } else {
    errno = 0;
    const unsigned long long digits = std::strtoull(typed.c_str(), nullptr, 10);
    const bool seed = errno == 0 && digits <= UINT32_MAX;
    require(set.has_value() == seed && (!set || *set == digits), "the set is not strtoull's");
  }

  // A page's address: the set it names is one of its own parts, read as a set.
  const auto address = projectile::read_address(typed);
  if (const auto named = address.set_typed) {
    const auto* start = named->data();
    require(start >= typed.data() + 4 && start + named->size() <= typed.data() + typed.size() &&
                std::string_view(start - 4, 4) == "set=",
            "an address's set is not a part of it after set=");
    require(named->find('&') == std::string_view::npos, "an address's set runs past its part");
    require(address.set == projectile::whole_number(*named),
            "an address's set is not read as a set");
  }
  require(std::find(projectile::page_views.begin(), projectile::page_views.end(), address.view) !=
              projectile::page_views.end(),
          "an address names a view the page does not have");

  // Where students open the page, as a teacher types it: taken only as a web
  // address with a host, nothing in it a link could not carry, no fragment.
  const auto link = projectile::read_page_link(typed, "file:///here.html#x");
  if (link.problem.empty()) {
    const std::string_view taken = link.link;
    const bool typed_blank = typed.find_first_not_of(" \t\r\n") == std::string_view::npos;
    require(typed_blank ? taken == "file:///here.html" && link.this_computer_only
                        : (taken.starts_with("https://") || taken.starts_with("http://")) &&
                              !link.this_computer_only,
            "a students' address that is no web address was taken");
    require(std::none_of(taken.begin(), taken.end(),
                         [](char c) { return static_cast<unsigned char>(c) <= ' ' || c == '#'; }),
            "a students' address keeps a blank, a control character or a fragment");
  } else {
    require(link.link.empty(), "a refused students' address was taken");
  }

  // A kept Practice record, as a browser's storage may hold anything: taken
  // up only whole, and then kept again exactly as it was.
  projectile::practice_session practice(1796634001);
  if (practice.resume(typed)) {
    require(practice.record() == typed, "a record taken up is not kept as it was");
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
