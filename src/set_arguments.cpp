#include "set_arguments.h"

#include <algorithm>
#include <span>
#include <vector>

#include "class_set.h"
#include "input.h"
#include "text.h"

namespace projectile {

namespace {

// The forms' options, as the usage line and the one-choice refusal list
// them: the run is the form without one.
auto chosen_forms() {
  return set_forms.subspan(1);
}

// "--NAME", and what it takes. (A piece at a time here and below: GCC 12
// warns falsely, -Wrestrict, of "--" + std::string on some targets.)
std::string option_of(const set_form& form) {
  std::string option = "--";
  option += form.name;
  if (!form.value.empty()) {
    option += ' ';
    option += form.value;
  }
  return option;
}

}  // namespace

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
    const set_form* form = nullptr;
    if (option.starts_with("--") && option != "--run") {
      form = form_named(option.substr(2));
    }
    const bool takes_value = option == "--set" || option == "--count" || option == "--class" ||
                             option == "--versions" || (form != nullptr && !form->value.empty());
    const bool flag = option == "--help" || option == "--letter" || option == "--mark" ||
                      (form != nullptr && form->value.empty());
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
    } else if (option == "--letter") {
      request.sheets = paper::letter;
    } else if (option == "--mark") {
      if (!request.scans.empty()) {
        return "--mark is given twice";
      }
      // The files, up to the next option: a shell's pattern gives any number.
      while (i + 1 < arguments.size() && !arguments[i + 1].starts_with("--")) {
        request.scans.emplace_back(arguments[++i]);
      }
      if (request.scans.empty()) {
        return "--mark needs the files of the scanned pages";
      }
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
    } else if (form != nullptr) {
      if (formed) {
        std::string names;
        const auto forms = chosen_forms();
        for (std::size_t f = 0; f < forms.size(); ++f) {
          names += f == 0 ? "" : f + 1 == forms.size() ? " and " : ", ";
          names += "--";
          names += forms[f].name;
        }
        return names + " are one choice: give one of them once";
      }
      if (form->kind == form_kind::folder) {
        if (value->empty()) {
          return std::string(option) + " needs a folder";
        }
        request.folder = std::string(*value);
      }
      request.form = form;
      formed = true;
    } else {
      request.help = true;
    }
  }
  if (!request.scans.empty() && formed) {
    std::string refused = "--mark reads answer pages: give no --";
    refused += request.form->name;
    return refused + " with it";
  }
  if (request.sheets == paper::letter && !request.scans.empty()) {
    return "--letter is for --answer-sheets: a page read says its own paper";
  }
  if (request.sheets == paper::letter && request.form->name != "answer-sheets") {
    return "--letter is for --answer-sheets";
  }
  if (request.form->needs_class && request.class_file.empty() && request.versions == 0) {
    std::string refused = "--";
    refused += request.form->name;
    return refused + " needs a class: give --class or --versions";
  }
  return request;
}

std::string set_usage() {
  // The forms, then the options of answer sheets, as many a line as fit in
  // 80 columns, each line after the first indented to the first's bracket.
  std::vector<std::string> words;
  const auto forms = chosen_forms();
  for (std::size_t f = 0; f < forms.size(); ++f) {
    std::string word = f == 0 ? "[" : "";
    word += option_of(forms[f]);
    word += f + 1 == forms.size() ? "]" : " |";
    words.push_back(word);
  }
  words.emplace_back("[--letter]");
  words.emplace_back("[--mark FILE...]");
  std::string usage = "Usage: projectile-set [--set S] [--count N] [--class FILE | --versions K]\n";
  std::string line = "        ";
  for (const std::string& word : words) {
    if (line.size() + 1 + word.size() > 80) {
      usage += line + "\n";
      line = "          ";
      line += word;
    } else {
      line += ' ';
      line += word;
    }
  }
  return usage + line + "\n";
}

std::string set_help() {
  // An option, then its words from the 16th column, a line each.
  const auto option_help = [](std::string_view option, std::string_view words) {
    std::string made = "  ";
    made += option;
    // An option too long for its column has its words below it.
    const bool below = option.size() > 12;
    if (below) {
      made += '\n';
    } else {
      made.append(13 - option.size(), ' ');
    }
    for (std::size_t at = 0; at < words.size();) {
      const std::size_t end = std::min(words.find('\n', at), words.size());
      if (at > 0 || below) {
        made.append(15, ' ');
      }
      made += words.substr(at, end - at);
      made += '\n';
      at = end + 1;
    }
    return made;
  };
  std::string help =
      "Writes the questions of set S, the second a run of projectile-questions is\n"
      "seeded from, each with its worked answer, as that run writes them.\n"
      "\n" +
      option_help("--set S", "the set: " + whole_number_range(0, highest_set) +
                                 "\n(without it, the present second, named on standard error)") +
      option_help("--count N", "how many questions: 1 to " + decimal(most_set_count) + " (" +
                                   decimal(default_set_count) + " without it)");
  // The forms for a set or a class, then the class's options, then the
  // forms of a class alone.
  for (const bool of_class : {false, true}) {
    if (of_class) {
      help += option_help("--class FILE",
                          "a version for each student named in FILE, one a line, or\n"
                          "a CSV file (*.csv) with a Name or Student column; a sheet\n"
                          "each, a Moodle category or Canvas group per question");
      help += option_help("--versions K", "K versions (1 to " +
                                              decimal(static_cast<std::uint32_t>(most_versions)) +
                                              ") of class set S, for a class without a list");
    }
    for (const set_form& form : chosen_forms()) {
      if (form.needs_class == of_class) {
        help += option_help(option_of(form), form.help);
      }
    }
  }
  help += option_help("--letter", "answer sheets on US Letter rather than A4");
  help += option_help("--mark FILE...",
                      "marks the answer pages scanned or photographed in the files\n"
                      "(PDF, PNG, JPEG; any pages in any order) against the same\n"
                      "set or class and count; the marks as CSV, and every value\n"
                      "to settle by hand, on standard error");
  return help + option_help("--help", "this text");
}

}  // namespace projectile
