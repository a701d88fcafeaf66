// A set as a quiz for Canvas and other platforms that read IMS QTI 1.2: a
// zip package holding one assessment, an item for each value a question asks
// for (Canvas's numerical question takes one number), its Canvas settings,
// and the figures as files, declared in the package's manifest.
#pragma once

#include <string>
#include <string_view>

#include "blocks.h"
#include "figure.h"
#include "handout.h"

namespace projectile {

// The handout as the package, handed to `write` in blocks; false as soon as
// a write fails. The same handout gives the same bytes on every platform. A
// class's package has a question group for each value asked at each place,
// drawing one of the versions' items for it, worth the place's share of its
// points; each version's figures in a folder of their own.
bool write_qti(const handout& made, const block_sink& write,
               const figure_source& drawn = drawn_afresh);

// The files a package of `questions` questions holds: the manifest, the
// assessment, its settings, and two figures a question.
constexpr long long qti_files(long long questions) noexcept {
  return 3 + 2 * questions;
}

// A printed value times `parts` / 10000, as an exact decimal: "94.4616" at
// 9900 is "93.515984". The printed value is positive and in fixed notation.
std::string times_ten_thousandths(std::string_view printed, unsigned parts);

}  // namespace projectile
