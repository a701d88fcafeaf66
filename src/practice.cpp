#include "practice.h"

#include <algorithm>
#include <array>
#include <utility>

#include "input.h"

namespace projectile {

practice_session::practice_session(std::uint32_t set) : set_(set), current_{} {
  ask(1);
}

void practice_session::ask(int number) {
  current_ = set_.at(number);
  answer_ = answer_text(current_);
  lines_shown_ = 0;
  tried_here_ = 0;
  shown_ = false;
}

void practice_session::next() {
  // A set's forms go as far as most_set_count questions; so does Practice,
  // which then begins the set again.
  ask(current_.number < most_set_count ? current_.number + 1 : 1);
}

practice_session::checked practice_session::check(std::span<const std::string_view> typed) {
  checked result{};
  std::optional<std::size_t> first_empty;
  for (std::size_t i = 0; i < current_.asked.size; ++i) {
    const asked_value& asked = current_.asked.items[i];
    const std::string_view text = i < typed.size() ? typed[i] : std::string_view{};
    const reading read = read_value(text, asked.what);
    const verdict given = verdict_of(read, asked);
    const bool tried =
        given == verdict::right || given == verdict::wrong || given == verdict::negative;
    const slip named =
        tried && given != verdict::right ? slip_of(current_.q, asked, *read.value) : slip::none;
    result.marks.push_back({given, named, mark_line(read, given, named, asked)});
    const std::string heard = heard_line(read, given, named, asked);
    if (!heard.empty()) {
      result.heard += result.heard.empty() ? "" : " ";
      result.heard += heard;
    }
    if (given == verdict::empty) {
      first_empty = first_empty.value_or(i);
    } else if (given != verdict::right && !result.first_not_right) {
      result.first_not_right = i;
    }
    // A value's first try counts, unless the whole answer is out; it is
    // right at the first try only if no hint had shown its line.
    const unsigned bit = 1U << i;
    if (tried && !shown_ && !every_line_shown() && (tried_here_ & bit) == 0) {
      tried_here_ |= bit;
      ++tried_;
      right_first_ += given == verdict::right && lines_shown_ < line_of(asked.what) ? 1U : 0U;
    }
  }
  if (!result.first_not_right) {
    result.first_not_right = first_empty;
  }
  result.nothing_typed = result.heard.empty();
  if (result.nothing_typed) {
    result.heard = nothing_typed_line;
  }
  return result;
}

std::size_t practice_session::line_of(quantity what) const noexcept {
  const answer_lines lines = lines_of(current_.a);
  switch (what) {
    case quantity::time_of_flight:
      return static_cast<std::size_t>(lines.time_of_flight);
    case quantity::range:
      return static_cast<std::size_t>(lines.range);
    case quantity::max_height:
      return static_cast<std::size_t>(lines.max_height);
    case quantity::impact_speed:
    case quantity::impact_angle:
      break;
  }
  return static_cast<std::size_t>(lines.impact);
}

std::size_t practice_session::lines_in_answer() const noexcept {
  return static_cast<std::size_t>(lines_of(current_.a).last);
}

std::string_view practice_session::hinted() const noexcept {
  if (lines_shown_ == lines_in_answer()) {
    return answer_;
  }
  std::size_t end = 0;
  for (std::size_t line = 0; line <= lines_shown_; ++line) {
    end = answer_.find('\n', end) + 1;
  }
  return std::string_view(answer_).substr(0, end);
}

bool practice_session::every_line_shown() const noexcept {
  return lines_shown_ == lines_in_answer();
}

std::string_view practice_session::hint() {
  if (every_line_shown()) {
    return {};
  }
  ++lines_shown_;
  ++hints_;
  std::string_view shown = hinted();
  shown.remove_suffix(every_line_shown() ? 2 : 1);  // its line end, and the closing empty line
  return shown.substr(shown.rfind('\n') + 1);
}

std::string_view practice_session::show_answer() {
  shown_ = true;
  lines_shown_ = lines_in_answer();
  return answer_;
}

std::string practice_session::tally_line() const {
  const auto counted = [](std::uint32_t n, std::string_view one) {
    return decimal(n) + " " + std::string(one) + (n == 1 ? "" : "s");
  };
  return "Right at the first try: " + decimal(right_first_) + " of " + counted(tried_, "value") +
         " \u00B7 " + counted(hints_, "hint");
}

namespace {

// The keys of a kept record, in order, after its first word and version.
constexpr std::array<std::string_view, 8> record_keys = {"set",   "question", "tried", "right",
                                                         "hints", "values",   "lines", "shown"};
constexpr std::string_view record_start = "practice 1";

}  // namespace

std::string practice_session::record() const {
  const std::array<std::uint32_t, record_keys.size()> values = {
      set_.number(),
      static_cast<std::uint32_t>(current_.number),
      tried_,
      right_first_,
      hints_,
      tried_here_,
      static_cast<std::uint32_t>(lines_shown_),
      shown_ ? 1U : 0U};
  std::string kept(record_start);
  for (std::size_t i = 0; i < values.size(); ++i) {
    // A piece at a time: GCC 12 warns falsely (-Wrestrict) of " " +
    // std::string on 32-bit targets.
    kept += ' ';
    kept += record_keys[i];
    kept += '=';
    kept += decimal(values[i]);
  }
  return kept;
}

bool practice_session::resume(std::string_view kept) {
  const std::string_view whole = kept;
  if (!kept.starts_with(record_start)) {
    return false;
  }
  kept.remove_prefix(record_start.size());
  std::array<std::uint32_t, record_keys.size()> values{};
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (!kept.starts_with(" ")) {
      return false;
    }
    kept.remove_prefix(1);
    if (!kept.starts_with(record_keys[i]) || kept.size() == record_keys[i].size() ||
        kept[record_keys[i].size()] != '=') {
      return false;
    }
    kept.remove_prefix(record_keys[i].size() + 1);
    const std::size_t end = std::min(kept.find(' '), kept.size());
    const auto value = whole_number(std::string_view(kept.data(), end));
    if (!value) {
      return false;
    }
    values[i] = *value;
    kept.remove_prefix(end);
  }
  const auto [kept_set, question, tried, right, hints, tried_here, lines, shown] = values;
  // A record names a question Practice can reach, or it was not written
  // here: the browser's storage is anyone's to edit.
  constexpr auto most_question = static_cast<std::uint32_t>(most_set_count);
  if (!kept.empty() || kept_set != set_.number() || question < 1 || question > most_question ||
      right > tried || shown > 1) {
    return false;
  }
  practice_session taken(kept_set);
  taken.ask(static_cast<int>(question));
  if (tried_here >= 1U << taken.current_.asked.size || lines > taken.lines_in_answer()) {
    return false;
  }
  taken.tried_ = tried;
  taken.right_first_ = right;
  taken.hints_ = hints;
  taken.tried_here_ = tried_here;
  taken.lines_shown_ = lines;
  taken.shown_ = shown == 1;
  // Only a record as record() writes it: no leading zeros, nothing more.
  if (taken.record() != whole) {
    return false;
  }
  *this = std::move(taken);
  return true;
}

}  // namespace projectile
