// A set as a quiz for Canvas and other platforms that read IMS QTI 1.2: a
// zip package holding one assessment, an item for each value a question asks
// for (Canvas's numerical question takes one number), its Canvas settings,
// and the figures as files, declared in the package's manifest.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "blocks.h"
#include "figure.h"
#include "problem_set.h"

namespace projectile {

// The set's first `count` questions as the package, handed to `write` in
// blocks; false as soon as a write fails. The same set and count give the
// same bytes on every platform.
bool write_qti(const problem_set& set, int count, const block_sink& write,
               const figure_source& drawn = drawn_afresh);

// The same for a class: a question group for each value asked at each place,
// drawing one of the versions' items for it, worth the place's share of its
// 20 points; each version's figures in a folder of their own.
bool write_qti_class(std::uint32_t class_set, std::span<const std::uint32_t> versions, int count,
                     const block_sink& write, const figure_source& drawn = drawn_afresh);

// Why a package of `versions` versions of `count` questions each is refused
// (more questions than a set's most, 10,000), with how to split it; empty
// when it is not.
std::string qti_refused(int versions, int count);

// A printed value times `percent` / 100, as an exact decimal: "94.4616" at 99
// is "93.515984". The printed value is positive and in fixed notation.
std::string percent_of(std::string_view printed, unsigned percent);

}  // namespace projectile
