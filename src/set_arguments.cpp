#include "set_arguments.h"

#include "class_set.h"
#include "input.h"
#include "text.h"

namespace projectile {

std::variant<set_request, std::string> parse_set_arguments(
    std::span<const std::string_view> arguments) {
  set_request request;
  bool counted = false;
  bool formed = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    std::string_view option = arguments[i];
    // "--set S" and "--set=S" alike.
    std::optional<std::string_view> value;
    if (const auto equals = option.find('=');
        option.starts_with("--") && equals != std::string_view::npos) {
      value = option.substr(equals + 1);
      option = option.substr(0, equals);
    }
    const bool takes_value = option == "--set" || option == "--count" || option == "--figures" ||
                             option == "--class" || option == "--versions";
    const bool flag = option == "--worksheet" || option == "--moodle" || option == "--qti" ||
                      option == "--list" || option == "--help";
    if (!takes_value && !flag) {
      return (option.starts_with("-") ? "unknown option '" : "unexpected argument '") +
             std::string(arguments[i]) + "'";
    }
    if (takes_value && !value) {
      if (i + 1 == arguments.size()) {
        return std::string(option) + " needs a value";
      }
      value = arguments[++i];
    } else if (!takes_value && value) {
      return std::string(option) + " takes no value";
    }
    if (option == "--set") {
      if (request.set) {
        return "--set is given twice";
      }
      const typed_choice set = read_choice(*value, 0, highest_set);
      if (!set.value) {
        return "--set " + set.refused;
      }
      request.set = set.value;
    } else if (option == "--count") {
      if (counted) {
        return "--count is given twice";
      }
      const typed_choice count = read_choice(*value, 1, most_set_count);
      if (!count.value) {
        return "--count " + count.refused;
      }
      request.count = static_cast<int>(*count.value);
      counted = true;
    } else if (option == "--class" || option == "--versions") {
      if (!request.class_file.empty() || request.versions != 0) {
        return "--class and --versions are one choice: give one of them once";
      }
      if (option == "--class") {
        if (value->empty()) {
          return "--class needs a file";
        }
        request.class_file = std::string(*value);
      } else {
        const typed_choice versions =
            read_choice(*value, 1, static_cast<std::uint32_t>(most_versions));
        if (!versions.value) {
          return "--versions " + versions.refused;
        }
        request.versions = static_cast<int>(*versions.value);
      }
    } else if (option != "--help") {
      if (formed) {
        return "--worksheet, --moodle, --qti, --list and --figures are one choice: give one of "
               "them once";
      }
      if (option == "--figures") {
        if (value->empty()) {
          return "--figures needs a folder";
        }
        request.folder = std::string(*value);
        request.output = set_output::figures;
      } else if (option == "--qti") {
        request.output = set_output::qti;
      } else if (option == "--list") {
        request.output = set_output::list;
      } else {
        request.output = option == "--worksheet" ? set_output::worksheet : set_output::moodle;
      }
      formed = true;
    } else {
      request.help = true;
    }
  }
  if (request.output == set_output::list && request.class_file.empty() && request.versions == 0) {
    return "--list needs a class: give --class or --versions";
  }
  return request;
}

std::string set_help() {
  return "Writes the questions of set S, the second a run of projectile-questions is\n"
         "seeded from, each with its worked answer, as that run writes them.\n"
         "\n"
         "  --set S      the set: " +
         whole_number_range(0, highest_set) +
         "\n"
         "               (without it, the present second, named on standard error)\n"
         "  --count N    how many questions: 1 to " +
         decimal(most_set_count) + " (" + decimal(default_set_count) +
         " without it)\n"
         "  --worksheet  the questions, then a line \"Answers\", then the answers\n"
         "  --moodle     a Moodle XML quiz file: one embedded-answers question each\n"
         "  --qti        a quiz package for Canvas (IMS QTI 1.2, a zip): an item for\n"
         "               each value a question asks for; send it to a file\n"
         "  --figures DIR  each question's figures as SVG files, DIR/question-K.svg\n"
         "               and DIR/answer-K.svg (DIR is made if it is missing)\n"
         "  --class FILE a version for each student named in FILE, one a line, or\n"
         "               a CSV file (*.csv) with a Name or Student column; a sheet\n"
         "               each, a Moodle category or Canvas group per question\n"
         "  --versions K K versions (1 to " +
         decimal(static_cast<std::uint32_t>(most_versions)) +
         ") of class set S, for a class without a list\n"
         "  --list       with a class: who has which version and set, as CSV\n"
         "  --help       this text\n";
}

}  // namespace projectile
