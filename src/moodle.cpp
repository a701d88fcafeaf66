#include "moodle.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "markup.h"

namespace projectile {

void append_moodle_text(text& out, std::string_view plain) {
  for (const char c : plain) {
    std::string_view escaped = html_in_xml(c);
    if (c == '{') {
      escaped = "&amp;#123;";
    } else if (c == '}') {
      escaped = "&amp;#125;";
    }
    out.append(escaped.empty() ? std::string_view(&c, 1) : escaped);
  }
}

void append_cloze_answer(text& out, std::string_view plain) {
  constexpr std::string_view syntax = "}#~/\"\\";
  for (const char c : plain) {
    if (syntax.find(c) != std::string_view::npos) {
      out.append("\\");
    }
    // A quote is the blank's own syntax here, escaped by its backslash.
    const std::string_view escaped = c == '"' ? std::string_view{} : html_in_xml(c);
    out.append(escaped.empty() ? std::string_view(&c, 1) : escaped);
  }
}

namespace {

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
void append_image(text& out, std::string_view name, int number, std::string_view words) {
  out.append("\n&lt;p&gt;&lt;img src=\"@@PLUGINFILE@@/");
  out.append(name);
  out.append_i(number);
  out.append(".svg\" alt=\"");
  append_moodle_text(out, words);
  out.append("\"&gt;&lt;/p&gt;");
}

void append_file(text& out, std::string_view name, int number, std::string_view figure) {
  out.append("\n      <file name=\"");
  out.append(name);
  out.append_i(number);
  out.append(".svg\" path=\"/\" encoding=\"base64\">");
  append_base64(out, figure);
  out.append("</file>");
}

void append_question(text& out, std::uint32_t set, const problem& p, const figures& drawn) {
  out.append("  <question type=\"cloze\">\n    <name>\n      <text>Set ");
  out.append_u(set);
  out.append(", question ");
  out.append_i(p.number);
  out.append("</text>\n    </name>\n    <questiontext format=\"html\">\n      <text>");
  out.append("&lt;pre&gt;");
  append_moodle_text(out, statement_text(p));
  out.append("&lt;/pre&gt;");
  append_image(out, "question-", p.number, question_figure_words(p));
  // One blank per asked quantity: the printed value, right within
  // `tolerance` of it, as Practice holds a student to.
  // Moodle gives a Cloze question the sum of its blanks' weights, so each
  // blank of a question of n blanks weighs 1 / n of the question's points.
  const int weight = points_per_question / static_cast<int>(p.asked.size);
  for (const asked_value& asked : p.asked.view()) {
    out.append("\n&lt;p&gt;");
    append_moodle_text(out, name_of(asked.what));
    out.append(": {");
    out.append_i(weight);
    out.append(":NUMERICAL:=");
    append_cloze_answer(out, asked.printed.view());
    out.append(":");
    append_cloze_answer(out, text::format_g(tolerance * asked.value).view());
    out.append("} ");
    append_moodle_text(out, label_unit_of(asked.what));
    out.append("&lt;/p&gt;");
  }
  out.append("</text>");
  append_file(out, "question-", p.number, drawn.question);
  out.append("\n    </questiontext>\n    <generalfeedback format=\"html\">\n      <text>");
  out.append("&lt;pre&gt;");
  append_moodle_text(out, worked_text(p));
  out.append("&lt;/pre&gt;");
  append_image(out, "answer-", p.number, answer_figure_words(p));
  out.append("</text>");
  append_file(out, "answer-", p.number, drawn.answer);
  out.append("\n    </generalfeedback>\n");
  out.append("    <defaultgrade>");
  out.append_i(points_per_question);
  out.append("</defaultgrade>\n    <penalty>0.3333333</penalty>\n");
  out.append("    <hidden>0</hidden>\n  </question>\n");
}

// The category the questions after it go into: "Projectile motion, set S",
// and with a place, ".../Question k".
void append_category(text& out, std::uint32_t set, int place = 0) {
  out.append("  <question type=\"category\">\n    <category>\n");
  out.append("      <text>$course$/top/Projectile motion, set ");
  out.append_u(set);
  if (place > 0) {
    out.append("/Question ");
    out.append_i(place);
  }
  out.append("</text>\n    </category>\n  </question>\n");
}

constexpr std::string_view file_head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<quiz>\n";
constexpr std::string_view file_tail = "</quiz>\n";

}  // namespace

bool write_moodle(const handout& made, const block_sink& write, const figure_source& drawn) {
  block_writer blocks(write);
  text& out = blocks.out();
  out.append(file_head);
  if (!made.of_class) {
    append_category(out, made.set);
    const bool written = problem_set(made.set).each(made.count, [&](int n, const question& q) {
      const problem p = problem_of(n, q);
      append_question(out, made.set, p, drawn(made.set, p));
      return blocks.flush();
    });
    if (!written) {
      return false;
    }
  }
  const std::vector<std::uint32_t> versions =
      made.of_class ? made.sets() : std::vector<std::uint32_t>{};
  for (int n = 1; n <= made.count && made.of_class; ++n) {
    append_category(out, made.set, n);
    for (const std::uint32_t version : versions) {
      const problem p = problem_set(version).at(n);
      append_question(out, version, p, drawn(version, p));
      if (!blocks.flush()) {
        return false;
      }
    }
  }
  out.append(file_tail);
  return blocks.flush(true);
}

}  // namespace projectile
