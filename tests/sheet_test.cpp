#include "sheet.h"

#include <gtest/gtest.h>

#include <string>

namespace projectile {
namespace {

// Before a sheet is made, and for a form the sheet does not offer, a file is
// refused with the reason; never made of nothing.
TEST(Sheet, AFileIsRefusedUntilThereIsASheetForIt) {
  std::string file = "stale";
  EXPECT_EQ(sheet_file(file, "moodle", "", "").problem, "There is no sheet yet: press Show first.");
  EXPECT_EQ(file, "");
  std::string reply;
  make_sheet(reply, {"5", "2", "", ""});
  ASSERT_EQ(reply.find("problem"), std::string::npos) << reply;
  for (const char* offered_not : {"list", "run", "figures", "nothing"}) {
    EXPECT_EQ(sheet_file(file, offered_not, "", "").problem,
              "The page makes no such file of this sheet.")
        << offered_not;
  }
  const sheet_download moodle = sheet_file(file, "moodle", "", "");
  EXPECT_EQ(moodle.problem, "");
  EXPECT_EQ(moodle.name, "projectile-set-5.xml");
  EXPECT_TRUE(file.starts_with("<?xml"));
}

// Names decide the number of versions; a number typed beside them that
// disagrees is said, not passed over in silence.
TEST(Sheet, SaysWhenNamesAndVersionsDisagree) {
  std::string reply;
  make_sheet(reply, {"5", "1", "5", "Ann\nBo\nCy"});
  EXPECT_NE(reply.find("\"note\":\"There are 3 names, so 3 versions, one each; Versions (5) counts "
                       "only when there are no names.\""),
            std::string::npos);
  reply.clear();
  make_sheet(reply, {"5", "1", "3", "Ann\nBo\nCy"});
  EXPECT_NE(reply.find("\"note\":\"\""), std::string::npos);
}

// A class's list links each student to Practice on the page where students
// open it, as the teacher typed it; without it, on the page's own address,
// which from a file is this computer's alone, and the list says so.
TEST(Sheet, AListLinksWhereStudentsOpenThePage) {
  std::string reply;
  make_sheet(reply, {"5", "1", "2", ""});
  std::string file;
  const sheet_download typed =
      sheet_file(file, "list", " https://school.example/p.html#worksheet ", "file:///t/p.html");
  EXPECT_EQ(typed.note, "");
  EXPECT_NE(file.find(",https://school.example/p.html#practice&set="), std::string::npos) << file;
  const sheet_download local = sheet_file(file, "list", "", "file:///t/p.html#worksheet&set=5");
  EXPECT_NE(local.note.find("on this computer only"), std::string::npos);
  EXPECT_NE(file.find(",file:///t/p.html#practice&set="), std::string::npos) << file;
  EXPECT_EQ(sheet_file(file, "list", "", "https://school.example/p.html").note, "");
  for (const char* refused : {"javascript:alert(1)", "school.example/p.html", "https://",
                              "https:///p.html", "https://a b/p.html", "file:///t/p.html"}) {
    EXPECT_NE(sheet_file(file, "list", refused, "").problem, "") << refused;
    EXPECT_EQ(file, "") << refused;
  }
}

// The sheet is made again whenever any field differs, however the fields'
// texts would run together.
TEST(Sheet, IsKeptOnlyForTheSameFields) {
  std::string reply;
  make_sheet(reply, {"1", "23", "", ""});
  reply.clear();
  make_sheet(reply, {"1", "23", "", ""});
  EXPECT_EQ(reply, "{\"unchanged\":true,\"count\":23}");
  reply.clear();
  make_sheet(reply, {"12", "3", "", ""});
  EXPECT_TRUE(reply.starts_with("{\"count\":3,")) << reply.substr(0, 40);
}

}  // namespace
}  // namespace projectile
