#include "verdict.h"

#include "text.h"

namespace projectile {

verdict verdict_of(const reading& read, const asked_value& asked) noexcept {
  if (read.why == refusal::empty) {
    return verdict::empty;
  }
  if (!read.value) {
    return verdict::unreadable;
  }
  if (*read.value < 0) {
    return verdict::negative;
  }
  return is_right(*read.value, asked.value) ? verdict::right : verdict::wrong;
}

namespace {

// Why a negative value is wrong, in a line.
std::string_view sign_hint_of(quantity what) noexcept {
  return what == quantity::impact_angle
             ? "The angle is measured below the horizontal, so it is positive."
             : "A time, distance or speed is a size: it is never negative.";
}

std::string refused_line(const reading& typed, quantity what) {
  switch (typed.why) {
    case refusal::comma_and_point:
      return "Type the number with one decimal mark, a point or a comma, and no thousands "
             "separator.";
    case refusal::other_unit:
      return std::string(name_of(what)) + " is in " + std::string(unit_of(what)) + ", not " +
             std::string(typed.unit) + ".";
    case refusal::none:
    case refusal::empty:
    case refusal::not_a_number:
      break;
  }
  return "Expected a number such as 2.04.";
}

std::string wrong_line(verdict given, slip named, const asked_value& asked) {
  std::string line = "Wrong.";
  if (named != slip::none) {
    line += ' ';
    line += sentence_of(named, asked.what);
  }
  if (given == verdict::negative) {
    line += ' ';
    line += sign_hint_of(asked.what);
  }
  return line;
}

// A value typed in another unit, as it was checked: "214.84 m ", in the
// unit printed; nothing for a value typed in that unit.
std::string converted_value(const reading& typed, quantity what) {
  if (!typed.converted) {
    return "";
  }
  text value;
  value.append_g(*typed.value);
  value.append(" ");
  value.append(unit_of(what));
  value.append(" ");
  return std::string(value.view());
}

}  // namespace

std::string mark_line(const reading& typed, verdict given, slip named, const asked_value& asked) {
  const std::string as_checked = converted_value(typed, asked.what);
  switch (given) {
    case verdict::empty:
      return "";
    case verdict::right:
      return as_checked + "\u2713 Right.";
    case verdict::unreadable:
      return "? " + refused_line(typed, asked.what);
    case verdict::negative:
    case verdict::wrong:
      break;
  }
  return as_checked + "\u2717 " + wrong_line(given, named, asked);
}

std::string heard_line(const reading& typed, verdict given, slip named, const asked_value& asked) {
  const std::string name =
      std::string(name_of(asked.what)) + ": " + converted_value(typed, asked.what);
  switch (given) {
    case verdict::empty:
      return "";
    case verdict::right:
      return name + "right.";
    case verdict::unreadable:
      return name + refused_line(typed, asked.what);
    case verdict::negative:
    case verdict::wrong:
      break;
  }
  return name + wrong_line(given, named, asked);
}

}  // namespace projectile
