// What a student is told of a value checked against an asked one: the
// verdict, the line shown beside the value, and what a screen reader hears.
#pragma once

#include <string>

#include "quantity.h"
#include "slip.h"
#include "typed_value.h"

namespace projectile {

enum class verdict {
  empty,       // nothing typed: no attempt, and no mark
  unreadable,  // refused: no attempt
  negative,    // read, and wrong: every asked quantity is positive
  wrong,
  right,
};

verdict verdict_of(const reading& read, const asked_value& asked) noexcept;

// The line shown beside a checked value ("✓ Right.", "✗ Wrong." with the slip
// named, "? Expected a number such as 2.04.") and the words a screen reader
// hears of it ("Range: right."); empty for an empty field. A wrong value
// never gives the answer away.
std::string mark_line(const reading& typed, verdict given, slip named, const asked_value& asked);
std::string heard_line(const reading& typed, verdict given, slip named, const asked_value& asked);

}  // namespace projectile
