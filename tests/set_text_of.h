// A set's text form, gathered whole from the blocks it is written in, for the
// tests that hold it against other forms.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "set_text.h"

namespace projectile::testing {

inline std::string set_text(std::uint32_t set, int count, text_form form) {
  std::string all;
  EXPECT_TRUE(write_text(problem_set(set), count, form, [&](std::string_view block) {
    all += block;
    return true;
  }));
  return all;
}

}  // namespace projectile::testing
