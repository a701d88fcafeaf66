// What a teacher hands out: the questions of one set, or of each student's
// own version of a class set, the same number of each. Every form of a set
// (the text, the sheets, the quiz files, the list, the figures) is made from
// one.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace projectile {

struct student {
  std::string name;  // "Version v" for a class without a list; empty for a set alone
  int version;       // from 1
  std::uint32_t set;
};

struct handout {
  std::uint32_t set;              // the set, or the class set
  bool of_class;                  // each student a version of `set`
  std::vector<student> students;  // a set alone: one, unnamed, with `set` itself
  int count;                      // questions each

  // The students' sets, in their order.
  [[nodiscard]] std::vector<std::uint32_t> sets() const;
};

// The set alone.
handout handout_of_set(std::uint32_t set, int count);
// Class set `class_set`: student i of `names` (or of `versions` unnamed
// ones, when there are no names) gets version i.
handout handout_of_class(std::uint32_t class_set, int count, std::span<const std::string> names,
                         int versions);

}  // namespace projectile
