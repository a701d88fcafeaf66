#include "address.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace projectile {
namespace {

TEST(Address, NamesAViewAndASetOrNot) {
  EXPECT_EQ(read_address("").view, "console");
  EXPECT_EQ(read_address("").set_typed, std::nullopt);
  EXPECT_EQ(read_address("#sets=5&xset=5&practices").set_typed, std::nullopt);
  const auto named = read_address("file:///a/b.html#worksheet&set=4294967295&practice");
  EXPECT_EQ(named.view, "worksheet");
  EXPECT_EQ(named.set_typed, "4294967295");
  EXPECT_EQ(named.set, UINT32_MAX);
  const auto refused = read_address("#set=12x&set=3");
  EXPECT_EQ(refused.set_typed, "12x");
  EXPECT_EQ(refused.set, std::nullopt);
  EXPECT_EQ(address_set_refused(*refused.set_typed),
            "The address asks for set \"12x\", which is not a whole number from 0 to "
            "4294967295, so this run takes its set from the clock.");
  EXPECT_EQ(read_address("#set=").set, std::nullopt);
  // What the page writes, it reads back; a class's names never go in it.
  EXPECT_EQ(read_address(address_of_set(0)).set, 0U);
  EXPECT_EQ(address_of_set(UINT32_MAX), "#set=4294967295");
  // (What is read is parts of the text it is read from, which must outlive it.)
  const std::string written = sheet_address(7, 30, 12);
  const auto sheet = read_address(written);
  EXPECT_EQ(sheet.view, "worksheet");
  EXPECT_EQ(sheet.set, 7U);
  EXPECT_EQ(sheet.versions_typed, "30");
  EXPECT_EQ(sheet.count_typed, "12");
  EXPECT_EQ(sheet_address(7, 0, 5), "#worksheet&set=7&count=5");
  const std::string practised = practice_address(4294967295U);
  const auto practice = read_address(practised);
  EXPECT_EQ(practice.view, "practice");
  EXPECT_EQ(practice.set, UINT32_MAX);
}

}  // namespace
}  // namespace projectile
