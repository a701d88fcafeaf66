// The common slips a student makes in a projectile question, what each gives
// for each quantity of a launch, and the sentence that names it.
#pragma once

#include <string_view>

#include "problem.h"
#include "quantity.h"

namespace projectile {

// The common slips, and what each gives for each quantity of a launch, as a
// student making it would work the whole question.
enum class slip {
  none,
  sin_cos_swapped,  // the components with sine and cosine exchanged
  radians,          // a calculator set to radians: degrees in, radians out
  time_to_top,      // the time to the highest point taken as the time of flight
  g_10,             // g taken as 10 m/s^2
  drop_no_2,        // a horizontal launch's drop time as sqrt(h / g)
  from_vertical,    // the impact angle measured from the vertical
  one_component,    // the impact speed as one component alone
};

// "sin-cos-swapped", ...: the slip's name in the page (data-slip="ID").
std::string_view id_of(slip which) noexcept;
// One plain sentence that names the slip to a student who typed its value.
std::string_view sentence_of(slip which, quantity what) noexcept;

// The slip that `value`, typed for `asked` of question `q`, comes from: one
// whose value for that quantity lies within 1 % of it, and more than 2 % from
// the printed answer (so that no right value is ever taken for a slip); none
// if there is no such slip.
slip slip_of(const question& q, const asked_value& asked, double value) noexcept;

}  // namespace projectile
