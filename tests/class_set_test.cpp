#include "class_set.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <set>
#include <vector>

#include "problem_set.h"

namespace projectile {
namespace {

// Whether a student of one version, typing their own values into the other
// version's question, would have every value marked right.
bool copies_into(const problem& from, const problem& into) {
  const auto given = from.asked.view();
  for (const asked_value& wanted : into.asked.view()) {
    const auto typed = std::find_if(given.begin(), given.end(),
                                    [&](const asked_value& a) { return a.what == wanted.what; });
    if (typed == given.end() || !is_right(typed->value, wanted.value)) {
      return false;
    }
  }
  return true;
}

// A class of 1,000: its versions are distinct, none is the class set, and
// at none of the first 100 places can two versions copy from each other in
// either direction. Each place's questions are sorted by time of flight, and
// every pair whose times are within 3 % is checked whole.
TEST(ClassVersions, NoTwoVersionsCanCopyFromEachOther) {
  for (const std::uint32_t class_set : {1796634001U, 0U, 4294967295U}) {
    const std::vector<std::uint32_t> versions = class_versions(class_set, most_versions);
    ASSERT_EQ(versions.size(), static_cast<std::size_t>(most_versions));
    EXPECT_EQ(std::set<std::uint32_t>(versions.begin(), versions.end()).size(), versions.size());
    EXPECT_EQ(std::count(versions.begin(), versions.end(), class_set), 0);
    for (int place = 1; place <= copy_proof_places; ++place) {
      std::vector<problem> asked(versions.size());
      std::transform(versions.begin(), versions.end(), asked.begin(),
                     [&](std::uint32_t set) { return problem_set(set).at(place); });
      std::sort(asked.begin(), asked.end(), [](const problem& a, const problem& b) {
        return a.asked.items[0].value < b.asked.items[0].value;
      });
      for (std::size_t i = 0; i < asked.size(); ++i) {
        for (std::size_t j = i + 1; j < asked.size() && asked[j].asked.items[0].value <=
                                                            1.03 * asked[i].asked.items[0].value;
             ++j) {
          EXPECT_FALSE(copies_into(asked[i], asked[j]) || copies_into(asked[j], asked[i]))
              << class_set << " place " << place;
        }
      }
    }
  }
}

// Version k is the same whatever the number of versions; and the numbers are
// the same on every build, held to one digest.
TEST(ClassVersions, VersionKStaysAndIsTheSameEverywhere) {
  const std::vector<std::uint32_t> all = class_versions(1796634001, 1000);
  const std::vector<std::uint32_t> few = class_versions(1796634001, 30);
  EXPECT_TRUE(std::equal(few.begin(), few.end(), all.begin()));
  const std::uint64_t digest =
      std::accumulate(all.begin(), all.end(), std::uint64_t{0xCBF29CE484222325U},
                      [](std::uint64_t d, std::uint32_t v) { return (d ^ v) * 0x100000001B3U; });
  EXPECT_EQ(all[0], 2613141505U);
  EXPECT_EQ(digest, 0xDED2C78FC6D69570U) << std::hex << digest;
}

}  // namespace
}  // namespace projectile
