// projectile-set's command line: what it is asked for, or the one-line reason
// its arguments are refused.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "forms.h"
#include "problem_set.h"

namespace projectile {

struct set_request {
  std::optional<std::uint32_t> set;  // nullopt: the clock's second
  int count = default_set_count;
  const set_form* form = set_forms.data();  // the run, without a form's option
  std::string folder;                       // for a folder form
  std::string class_file;                   // not empty: a version for each student it names
  int versions = 0;                         // not 0: that many versions, for a class without a list
  paper sheets = paper::a4;                 // what answer sheets are printed on
  std::vector<std::string> scans;           // not empty: the files of answer pages to mark
  bool help = false;
};

// The arguments after the program's name, or the reason they are refused,
// which names the argument at fault.
std::variant<set_request, std::string> parse_set_arguments(
    std::span<const std::string_view> arguments);

// The usage line, and the help's text after it, with the limits above.
std::string set_usage();
std::string set_help();

}  // namespace projectile
