// Text handed on a block at a time: a long set is written as it is made, in
// bounded memory, and each block in one write.
#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

#include "text.h"

namespace projectile {

// Takes one block of text; false when it could not be written.
using block_sink = std::function<bool(std::string_view)>;

class block_writer {
 public:
  explicit block_writer(const block_sink& write) : write_(write) {}

  text& out() noexcept { return out_; }

  // Hands on what is made once it fills a block, or all of it at the end.
  bool flush(bool at_end = false) {
    if (!at_end && out_.view().size() < block_size) {
      return true;
    }
    const bool written = out_.view().empty() || write_(out_.view());
    out_.clear();
    return written;
  }

 private:
  static constexpr std::size_t block_size = std::size_t{1} << 14;

  const block_sink& write_;
  text out_;
};

}  // namespace projectile
