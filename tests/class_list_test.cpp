#include "class_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace projectile {
namespace {

using names = std::vector<std::string>;

names read(std::string_view contents, list_format format) {
  auto result = read_class_list(contents, format);
  EXPECT_TRUE(std::holds_alternative<names>(result)) << std::get<std::string>(result);
  return std::holds_alternative<names>(result) ? std::get<names>(result) : names{};
}

std::string refusal(std::string_view contents, list_format format = list_format::lines) {
  auto result = read_class_list(contents, format);
  EXPECT_TRUE(std::holds_alternative<std::string>(result)) << contents;
  return std::holds_alternative<std::string>(result) ? std::get<std::string>(result) : "";
}

// Names as teachers' files hold them are taken as they are: quotes, markup,
// commas, a leading '=', letters of any script; a BOM, CR LF and blank lines
// are not names.
TEST(ClassList, ReadsNamesAsExported) {
  EXPECT_EQ(
      read("\xEF\xBB\xBFZo\xC3\xAB O'Neil\r\n\r\n  <b>&amp;  \r\n=1+1\n\xE6\x9D\x8E\xE9\x9B\xB7",
           list_format::lines),
      (names{"Zo\xC3\xAB O'Neil", "<b>&amp;", "=1+1", "\xE6\x9D\x8E\xE9\x9B\xB7"}));
  // A spreadsheet's export: the column named Student, quoted fields.
  EXPECT_EQ(
      read("\xEF\xBB\xBFId,Student,Email\r\n1,\"Lee, Sam\",s@x\r\n\r\n2,\"Say \"\"Hi\"\"\",\r\n"
           "3,  Ana  ,a@x\r\n",
           list_format::csv),
      (names{"Lee, Sam", "Say \"Hi\"", "Ana"}));
  // No Name or Student column: the first.
  EXPECT_EQ(read("Who,When\nBo,1\n", list_format::csv), names{"Bo"});
}

// Cells pasted from a spreadsheet are tab-separated columns: a heading
// "Name" or "Student" picks its column and is no name; without one, the
// first column, from the first line. A quote inside a cell is the
// character; a quoted cell may hold a tab, which no name may.
TEST(ClassList, ReadsPastedColumns) {
  EXPECT_EQ(read("Email\tName\r\nz@x\tZo\xC3\xAB \xC3\x85ngstr\xC3\xB6m\r\nl@x\t\xE6\x9D\x8E "
                 "\xE9\x9B\xB7\r\n",
                 list_format::lines),
            (names{"Zo\xC3\xAB \xC3\x85ngstr\xC3\xB6m", "\xE6\x9D\x8E \xE9\x9B\xB7"}));
  EXPECT_EQ(read("Ann\ta@x\nSay \"Hi\"\t\n\"Lee, \"\"Sam\"\"\"\tx\n", list_format::lines),
            (names{"Ann", "Say \"Hi\"", "Lee, \"Sam\""}));
  EXPECT_EQ(read("Student\nAnn\nBo\n", list_format::lines), (names{"Ann", "Bo"}));
  EXPECT_EQ(refusal("Name\tX\n\"A\tB\"\t1\n"), "line 2: the name holds a tab");
}

TEST(ClassList, RefusesWhatWillNotDoNamingTheLine) {
  EXPECT_EQ(refusal("Ann\nBo\n\nAnn\n"), "line 4: the name \"Ann\" is on line 1 too");
  EXPECT_EQ(refusal("Ann\n" + std::string(101, 'x')),
            "line 2: the name is longer than 100 characters");
  std::string accented;
  for (int i = 0; i < 101; ++i) {
    accented += "\xC3\xA9";
  }
  EXPECT_EQ(refusal(accented), "line 1: the name is longer than 100 characters");
  EXPECT_EQ(read(accented.substr(2), list_format::lines).size(), 1U);
  EXPECT_EQ(refusal(std::string("Ann\nB\0o\n", 8)), "line 2: the name holds a control character");
  EXPECT_EQ(refusal("A\xC2\x85"
                    "b"),
            "line 1: the name holds a control character");
  for (const char* bad : {"\xC3\x28", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE2\x82"}) {
    EXPECT_EQ(refusal(std::string("Ann\n") + bad), "line 2: the name is not UTF-8") << bad;
  }
  EXPECT_EQ(refusal("h\n\"a\nb\",1\n", list_format::csv),
            "line 2: the name holds a control character");
  // A quoted line break in another column is a line of the file too.
  EXPECT_EQ(refusal("Name,Note\r\nAnn,\"x\r\ny\"\r\nAnn,z\r\n", list_format::csv),
            "line 4: the name \"Ann\" is on line 2 too");
  std::string many;
  for (int i = 1; i <= 1001; ++i) {
    many += "Student " + std::to_string(i) + "\n";
  }
  EXPECT_EQ(refusal(many), "line 1001: more than 1000 names");
  EXPECT_EQ(refusal(" \r\n\n"), "the list holds no names");
  EXPECT_EQ(refusal("Name\n", list_format::csv), "the list holds no names");
}

}  // namespace
}  // namespace projectile
