#include "handout.h"

#include <algorithm>

#include "class_set.h"
#include "text.h"

namespace projectile {

std::vector<std::uint32_t> handout::sets() const {
  std::vector<std::uint32_t> sets(students.size());
  std::transform(students.begin(), students.end(), sets.begin(),
                 [](const student& s) { return s.set; });
  return sets;
}

handout handout_of_set(std::uint32_t set, int count) {
  return {set, false, {{"", 1, set}}, count};
}

handout handout_of_class(std::uint32_t class_set, int count, std::span<const std::string> names,
                         int versions) {
  const int size = names.empty() ? versions : static_cast<int>(names.size());
  const std::vector<std::uint32_t> sets = class_versions(class_set, size);
  handout made{class_set, true, {}, count};
  for (int v = 1; v <= size; ++v) {
    const auto i = static_cast<std::size_t>(v - 1);
    made.students.push_back(
        {names.empty() ? "Version " + decimal(static_cast<std::uint32_t>(v)) : names[i], v,
         sets[i]});
  }
  return made;
}

}  // namespace projectile
