// A class set: a version of a set for each student of a class. From the class
// set S and a number of versions K, the sets of versions 1 to K, each itself
// a set, far apart in number and chosen so that no two of them could copy
// from each other.
#pragma once

#include <cstdint>
#include <vector>

namespace projectile {

inline constexpr int most_versions = 1000;
// The places held copy-proof, whatever the count asked for.
inline constexpr int copy_proof_places = 100;

// The sets of versions 1 to `versions` (1 to most_versions) of class set
// `class_set`. Candidates are drawn in a fixed order, candidate i being a
// 32-bit mix of class_set + i times 2^32 / phi, so that versions are far
// apart and unrelated even for neighbouring class sets; a candidate is taken
// as the next version unless, at one of the first copy_proof_places places,
// its question and that of a version taken before it would mark each other's
// values right (the same values asked for, every one within 1 % of the
// other's). So version k depends on class_set and k alone: not on how many
// versions or questions are asked for.
std::vector<std::uint32_t> class_versions(std::uint32_t class_set, int versions);

}  // namespace projectile
