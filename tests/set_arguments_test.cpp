#include "set_arguments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace projectile {
namespace {

std::variant<set_request, std::string> parsed(const std::vector<std::string_view>& arguments) {
  return parse_set_arguments(arguments);
}

TEST(SetArguments, TakesEachOptionInEitherForm) {
  const auto defaults = std::get<set_request>(parsed({}));
  EXPECT_EQ(defaults.set, std::nullopt);
  EXPECT_EQ(defaults.count, 10);
  EXPECT_EQ(defaults.form->name, "run");

  const auto given = std::get<set_request>(parsed({"--count=10000", "--moodle", "--set", "0"}));
  EXPECT_EQ(given.set, 0U);
  EXPECT_EQ(given.count, 10000);
  EXPECT_EQ(given.form->name, "moodle");

  const auto sheet = std::get<set_request>(parsed({"--worksheet", "--set=4294967295", "--help"}));
  EXPECT_EQ(sheet.set, 4294967295U);
  EXPECT_EQ(sheet.form->name, "worksheet");
  EXPECT_TRUE(sheet.help);

  // --mark takes the files up to the next option, as a shell's pattern gives them.
  const auto marking = std::get<set_request>(parsed({"--mark", "a.pdf", "b.jpg", "--versions=3"}));
  EXPECT_EQ(marking.scans, (std::vector<std::string>{"a.pdf", "b.jpg"}));
  EXPECT_EQ(marking.versions, 3);
  EXPECT_EQ(std::get<set_request>(parsed({"--letter", "--answer-sheets", "d"})).sheets,
            paper::letter);
}

TEST(SetArguments, NamesWhatIsWrong) {
  struct example {
    std::vector<std::string_view> arguments;
    const char* reason;
  };
  for (const auto& [arguments, reason] : {
           example{{"--count", "0"}, "--count must be a whole number from 1 to 10000, not '0'"},
           example{{"--count=10001"},
                   "--count must be a whole number from 1 to 10000, not '10001'"},
           example{{"--count", " 5"}, "--count must be a whole number from 1 to 10000, not ' 5'"},
           example{{"--set", "-1"}, "--set must be a whole number from 0 to 4294967295, not '-1'"},
           example{{"--set=4294967296"},
                   "--set must be a whole number from 0 to 4294967295, not '4294967296'"},
           example{{"--set"}, "--set needs a value"},
           example{{"--count=3", "--count"}, "--count needs a value"},
           example{{"--set", "1", "--set", "1"}, "--set is given twice"},
           example{{"--count", "1", "--count=1"}, "--count is given twice"},
           example{{"--worksheet", "--moodle"},
                   "--worksheet, --moodle, --qti, --list, --figures and --answer-sheets are one "
                   "choice: give one of them once"},
           example{{"--figures=x", "--moodle"},
                   "--worksheet, --moodle, --qti, --list, --figures and --answer-sheets are one "
                   "choice: give one of them once"},
           example{{"--figures="}, "--figures needs a folder"},
           example{{"--moodle=yes"}, "--moodle takes no value"},
           example{{"--sets", "1"}, "unknown option '--sets'"},
           example{{"-c", "1"}, "unknown option '-c'"},
           example{{"--bogus=1"}, "unknown option '--bogus=1'"},
           example{{"5"}, "unexpected argument '5'"},
           example{{"--class", "a", "--versions=2"},
                   "--class and --versions are one choice: give one of them once"},
           example{{"--versions", "1001"},
                   "--versions must be a whole number from 1 to 1000, not '1001'"},
           example{{"--list", "--set=1"}, "--list needs a class: give --class or --versions"},
           example{{"--mark", "--set=1"}, "--mark needs the files of the scanned pages"},
           example{{"--mark", "a.pdf", "--worksheet"},
                   "--mark reads answer pages: give no --worksheet with it"},
           example{{"--letter", "--moodle"}, "--letter is for --answer-sheets"},
       }) {
    const auto result = parse_set_arguments(arguments);
    ASSERT_TRUE(std::holds_alternative<std::string>(result)) << reason;
    EXPECT_EQ(std::get<std::string>(result), reason);
  }
}

}  // namespace
}  // namespace projectile
