// projectile-set's command line: what it is asked for, or the one-line reason
// its arguments are refused.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "problem_set.h"

namespace projectile {

enum class set_output {
  run,        // as the console writes the run
  worksheet,  // the questions, then the key
  moodle,     // a Moodle XML quiz file
  qti,        // an IMS QTI 1.2 quiz package, a zip
  list,       // a class's list: who has which version, as CSV
  figures,    // each question's two figures as SVG files in a folder
};

struct set_request {
  std::optional<std::uint32_t> set;  // nullopt: the clock's second
  int count = default_set_count;
  set_output output = set_output::run;
  std::string folder;      // for the figures
  std::string class_file;  // not empty: a version for each student it names
  int versions = 0;        // not 0: that many versions, for a class without a list
  bool help = false;
};

// The arguments after the program's name, or the reason they are refused,
// which names the argument at fault.
std::variant<set_request, std::string> parse_set_arguments(
    std::span<const std::string_view> arguments);

// The usage line, and the help's text after it, with the limits above.
inline constexpr std::string_view set_usage =
    "Usage: projectile-set [--set S] [--count N] [--class FILE | --versions K]\n"
    "         [--worksheet | --moodle | --qti | --list | --figures DIR]\n";
std::string set_help();

}  // namespace projectile
