#include "problem_set.h"

#include <algorithm>
#include <array>
#include <limits>
#include <utility>

#include "answer.h"
#include "figure.h"
#include "input.h"
#include "practice.h"
#include "problem.h"
#include "text.h"

namespace projectile {

namespace {

// The text is handed on once it passes this size: a long set is written as
// it is made, in bounded memory.
constexpr std::size_t block_size = std::size_t{1} << 14;

class block_writer {
 public:
  explicit block_writer(const std::function<bool(std::string_view)>& write) : write_(write) {}

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
  const std::function<bool(std::string_view)>& write_;
  text out_;
};

// Text made by write_question or write_answer without the line ends around
// it, for a <pre> of its own.
std::string_view inner_lines(const text& made) {
  std::string_view view = made.view();
  view.remove_prefix(1);
  while (!view.empty() && view.back() == '\n') {
    view.remove_suffix(1);
  }
  return view;
}

// Text as HTML inside XML: escaped once for HTML and once more for XML, so
// that a Moodle import gives back the text as it was. Braces are written as
// character references so that no text can be read as an embedded answer.
void append_escaped(text& out, std::string_view plain) {
  for (const char c : plain) {
    switch (c) {
      case '&':
        out.append("&amp;amp;");
        break;
      case '<':
        out.append("&amp;lt;");
        break;
      case '>':
        out.append("&amp;gt;");
        break;
      case '"':
        out.append("&amp;quot;");
        break;
      case '{':
        out.append("&amp;#123;");
        break;
      case '}':
        out.append("&amp;#125;");
        break;
      default:
        out.append(std::string_view(&c, 1));
    }
  }
}

// Bytes as base64, as Moodle XML carries a file.
void append_base64(text& out, std::string_view bytes) {
  constexpr std::string_view digits =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
    std::uint32_t group = 0;
    for (std::size_t k = 0; k < 3; ++k) {
      group = group << 8U | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0U);
    }
    for (std::size_t k = 0; k < 4; ++k) {
      const char digit = digits[(group >> (18 - 6 * k)) & 0x3FU];
      out.append(k <= n ? std::string_view(&digit, 1) : std::string_view("="));
    }
  }
}

// A figure in a Moodle HTML text: the image where it stands, its desc as
// its alternative text; and the file itself, which follows the text.
void append_moodle_image(text& out, std::string_view name, int number, std::string_view words) {
  out.append("\n&lt;p&gt;&lt;img src=\"@@PLUGINFILE@@/");
  out.append(name);
  out.append_i(number);
  out.append(".svg\" alt=\"");
  append_escaped(out, words);
  out.append("\"&gt;&lt;/p&gt;");
}

void append_moodle_file(text& out, std::string_view name, int number, std::string_view figure) {
  out.append("\n      <file name=\"");
  out.append(name);
  out.append_i(number);
  out.append(".svg\" path=\"/\" encoding=\"base64\">");
  append_base64(out, figure);
  out.append("</file>");
}

// Every question is worth the same in a quiz: Moodle gives a Cloze question
// the sum of its blanks' weights, so each blank of a question of n blanks
// weighs 20 / n (4 of five, 5 of four).
constexpr int marks_per_question = 20;

void write_moodle_question(text& out, std::uint32_t set, const problem& p) {
  out.append("  <question type=\"cloze\">\n    <name>\n      <text>Set ");
  out.append_u(set);
  out.append(", question ");
  out.append_i(p.number);
  out.append("</text>\n    </name>\n    <questiontext format=\"html\">\n      <text>");
  // Moodle numbers the questions of a quiz itself, and may shuffle them:
  // the text leaves out the run's number ("3. ").
  text made;
  write_question(made, p.number, p.q);
  std::string_view statement = inner_lines(made);
  statement.remove_prefix(statement.find(". ") + 2);
  out.append("&lt;pre&gt;");
  append_escaped(out, statement);
  out.append("&lt;/pre&gt;");
  append_moodle_image(out, "question-", p.number, question_figure_words(p));
  // One blank per asked quantity: the printed value, right within
  // `tolerance` of it, as the page's Practice view holds a student to.
  const int weight = marks_per_question / static_cast<int>(p.asked.size);
  for (const asked_value& asked : p.asked.view()) {
    out.append("\n&lt;p&gt;");
    append_escaped(out, name_of(asked.what));
    out.append(": {");
    out.append_i(weight);
    out.append(":NUMERICAL:=");
    out.append(asked.printed);
    out.append(":");
    out.append_g(tolerance * asked.value);
    out.append("} ");
    append_escaped(out, label_unit_of(asked.what));
    out.append("&lt;/p&gt;");
  }
  out.append("</text>");
  append_moodle_file(out, "question-", p.number, question_figure(p));
  out.append("\n    </questiontext>\n    <generalfeedback format=\"html\">\n      <text>");
  made.clear();
  write_answer(made, p.a);
  out.append("&lt;pre&gt;");
  append_escaped(out, inner_lines(made));
  out.append("&lt;/pre&gt;");
  append_moodle_image(out, "answer-", p.number, answer_figure_words(p));
  out.append("</text>");
  append_moodle_file(out, "answer-", p.number, answer_figure(p));
  out.append("\n    </generalfeedback>\n");
  out.append("    <defaultgrade>");
  out.append_i(marks_per_question);
  out.append("</defaultgrade>\n    <penalty>0.3333333</penalty>\n");
  out.append("    <hidden>0</hidden>\n  </question>\n");
}

// The key's table as text: a column per header, each as wide as its widest
// cell, two spaces apart.
void write_key_table(text& out, const problem_set& set, int count) {
  // Two passes over the rows, one for the widths and one to write them,
  // rather than keeping them: reaching a question costs less than a row's
  // formatting, and memory stays bounded whatever the count.
  std::array<std::size_t, key_columns.size()> widths{};
  for (std::size_t c = 0; c < key_columns.size(); ++c) {
    widths[c] = key_columns[c].size();
  }
  for (int n = 1; n <= count; ++n) {
    const auto row = key_row(set.at(n));
    for (std::size_t c = 0; c < row.size(); ++c) {
      widths[c] = std::max(widths[c], row[c].size());
    }
  }
  const auto line = [&](const auto& cells) {
    for (std::size_t c = 0; c < cells.size(); ++c) {
      const std::string_view cell = cells[c];
      out.append(cell);
      if (c + 1 < cells.size()) {
        for (std::size_t pad = cell.size(); pad < widths[c] + 2; ++pad) {
          out.append(" ");
        }
      }
    }
    out.append("\n");
  };
  line(key_columns);
  for (int n = 1; n <= count; ++n) {
    line(key_row(set.at(n)));
  }
}

}  // namespace

problem problem_set::at(int number) const noexcept {
  crt_rand raw{set_};
  raw.discard(static_cast<std::uint64_t>(number - 1) * draws_per_question);
  const question q = draw_question(raw);
  const answer a = solve(q.params);
  return {number, q, a, asked_of(q.type, a)};
}

bool problem_set::write(int count, set_form form, const block_sink& write) const {
  block_writer blocks(write);
  text& out = blocks.out();
  crt_rand raw{set_};
  if (form == set_form::moodle) {
    out.append("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<quiz>\n");
    out.append("  <question type=\"category\">\n    <category>\n");
    out.append("      <text>$course$/top/Projectile motion, set ");
    out.append_u(set_);
    out.append("</text>\n    </category>\n  </question>\n");
  }
  // Counted in long long: an int would overflow after a count of INT_MAX.
  for (long long n = 1; n <= count; ++n) {
    const int k = static_cast<int>(n);
    const question q = draw_question(raw);
    if (form == set_form::moodle) {
      const answer a = solve(q.params);
      write_moodle_question(out, set_, {k, q, a, asked_of(q.type, a)});
    } else {
      write_question(out, k, q);
      if (form == set_form::run) {
        write_answer(out, solve(q.params));
      }
    }
    if (!blocks.flush()) {
      return false;
    }
  }
  if (form == set_form::moodle) {
    out.append("</quiz>\n");
  }
  if (form == set_form::worksheet) {
    // The key: what a teacher marks with, a table of the asked values, then
    // each worked answer under its question's number; the same draws again
    // (a few nanoseconds each), so that memory stays bounded.
    out.append("\nAnswers\n\n");
    write_key_table(out, *this, count);
    raw = crt_rand{set_};
    for (long long n = 1; n <= count; ++n) {
      const question q = draw_question(raw);
      out.append("\n");
      out.append_i(static_cast<int>(n));
      out.append(".");
      write_answer(out, solve(q.params));
      if (!blocks.flush()) {
        return false;
      }
    }
  }
  return blocks.flush(true);
}

std::array<std::string, key_columns.size()> key_row(const problem& p) {
  std::array<std::string, key_columns.size()> row;
  // "-" where not asked. (Filled with a count and a character: GCC 12 warns
  // falsely, -Wrestrict, of assigning "-" on some targets.)
  row.fill(std::string(1, '-'));
  row[0] = decimal(static_cast<std::uint32_t>(p.number));
  for (const asked_value& asked : p.asked.view()) {
    row[1 + static_cast<std::size_t>(asked.what)] = std::string(asked.printed.view());
  }
  return row;
}

std::string question_text(const problem& p) {
  text out;
  write_question(out, p.number, p.q);
  std::string_view made = out.view();
  made.remove_prefix(1);  // the empty line that parts it from the text before
  return std::string(made);
}

std::string answer_text(const problem& p) {
  text out;
  write_answer(out, p.a);
  std::string_view made = out.view();
  made.remove_prefix(1);
  return std::string(made);
}

std::optional<int> parse_set_count(std::string_view typed, int most) noexcept {
  const auto value = parse_set(typed);
  if (!value || *value < 1 || *value > static_cast<std::uint32_t>(most)) {
    return std::nullopt;
  }
  return static_cast<int>(*value);
}

std::string whole_number_range(std::uint32_t lowest, std::uint32_t highest) {
  return "a whole number from " + decimal(lowest) + " to " + decimal(highest);
}

std::optional<address_set> set_in_address(std::string_view address) noexcept {
  constexpr std::string_view key = "set=";
  if (const auto hash = address.find('#'); hash != std::string_view::npos) {
    address.remove_prefix(hash + 1);
  }
  while (!address.empty()) {
    const auto end = std::min(address.find('&'), address.size());
    // Cut in place, as below: substr() may throw, which brings the
    // exception runtime into the page.
    std::string_view part(address.data(), end);
    if (part.starts_with(key)) {
      part.remove_prefix(key.size());
      return address_set{part, parse_set(part)};
    }
    address.remove_prefix(std::min(end + 1, address.size()));
  }
  return std::nullopt;
}

std::string address_set_refused(std::string_view typed) {
  return "The address asks for set \"" + std::string(typed) + "\", which is not " +
         whole_number_range(0, most_set) + ", so this run takes its set from the clock.";
}

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
  ask(current_.number + 1);
}

practice_session::checked practice_session::check(std::span<const std::string_view> typed) {
  checked result;
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
    const unsigned bit = 1U << i;
    if (tried && !shown_ && (tried_here_ & bit) == 0) {
      tried_here_ |= bit;
      ++tried_;
      right_first_ += given == verdict::right ? 1 : 0;
    }
  }
  if (!result.first_not_right) {
    result.first_not_right = first_empty;
  }
  return result;
}

std::size_t practice_session::lines_in_answer() const noexcept {
  // "Answer:" and the lines under it, each ending in a line end, then the
  // empty line that closes the answer.
  return static_cast<std::size_t>(std::count(answer_.begin(), answer_.end(), '\n')) - 2;
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
    const auto value = parse_set(std::string_view(kept.data(), end));
    if (!value) {
      return false;
    }
    values[i] = *value;
    kept.remove_prefix(end);
  }
  const auto [kept_set, question, tried, right, hints, tried_here, lines, shown] = values;
  constexpr auto most_question = static_cast<std::uint32_t>(std::numeric_limits<int>::max());
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

std::string record_key(std::uint32_t set) {
  return "projectile-practice-" + decimal(set);
}

std::variant<set_request, std::string> parse_set_arguments(
    std::span<const std::string_view> arguments) {
  set_request request;
  bool counted = false;
  bool formed = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    std::string_view option = arguments[i];
    // "--set S" and "--set=S" alike.
    std::optional<std::string_view> value;
    if (const auto equals = option.find('=');
        option.starts_with("--") && equals != std::string_view::npos) {
      value = option.substr(equals + 1);
      option = option.substr(0, equals);
    }
    const bool takes_value = option == "--set" || option == "--count" || option == "--figures";
    const bool flag = option == "--worksheet" || option == "--moodle" || option == "--help";
    if (!takes_value && !flag) {
      return (option.starts_with("-") ? "unknown option '" : "unexpected argument '") +
             std::string(arguments[i]) + "'";
    }
    if (takes_value && !value) {
      if (i + 1 == arguments.size()) {
        return std::string(option) + " needs a value";
      }
      value = arguments[++i];
    } else if (!takes_value && value) {
      return std::string(option) + " takes no value";
    }
    if (option == "--set") {
      if (request.set) {
        return "--set is given twice";
      }
      request.set = parse_set(*value);
      if (!request.set) {
        return "--set must be " + whole_number_range(0, most_set) + ", not '" +
               std::string(*value) + "'";
      }
    } else if (option == "--count") {
      const auto count = parse_set_count(*value, most_set_count);
      if (counted) {
        return "--count is given twice";
      }
      if (!count) {
        return "--count must be " + whole_number_range(1, most_set_count) + ", not '" +
               std::string(*value) + "'";
      }
      request.count = *count;
      counted = true;
    } else if (option == "--worksheet" || option == "--moodle" || option == "--figures") {
      if (formed) {
        return "--worksheet, --moodle and --figures are one choice: give one of them once";
      }
      if (option == "--figures") {
        if (value->empty()) {
          return "--figures needs a folder";
        }
        request.figures = std::string(*value);
      } else {
        request.form = option == "--worksheet" ? set_form::worksheet : set_form::moodle;
      }
      formed = true;
    } else {
      request.help = true;
    }
  }
  return request;
}

}  // namespace projectile
