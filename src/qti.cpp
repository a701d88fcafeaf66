#include "qti.h"

#include <cstdint>

#include "markup.h"
#include "quantity.h"
#include "text.h"
#include "zip.h"

namespace projectile {

std::string percent_of(std::string_view printed, unsigned percent) {
  // printed = digits * 10^-places; times percent / 100 is
  // (digits * percent) * 10^-(places + 2), in whole numbers: exact.
  std::uint64_t digits = 0;
  std::size_t places = 0;
  bool point = false;
  for (const char c : printed) {
    if (c == '.') {
      point = true;
      continue;
    }
    digits = digits * 10 + static_cast<std::uint64_t>(c - '0');
    places += point ? 1 : 0;
  }
  places += 2;
  const std::string product = std::to_string(digits * percent);
  // Zeros before it, so that a digit stands before the point. (Put
  // together a piece at a time: GCC 12 warns falsely, -Wrestrict, of
  // inserting into a string on 32-bit targets.)
  std::string made(product.size() <= places ? places + 1 - product.size() : 0, '0');
  made += product;
  const std::size_t whole = made.size() - places;
  std::string fraction(made.data() + whole, places);
  made.resize(whole);
  made += '.';
  made += fraction;
  while (made.back() == '0') {
    made.pop_back();
  }
  if (made.back() == '.') {
    made.pop_back();
  }
  return made;
}

namespace {

// Every question is worth the same, as in the Moodle file: its items share
// 20 points, 5 each of four or 4 each of five.
constexpr int points_per_question = 20;

std::string identifier_of(std::uint32_t set) {
  return "projectile-set-" + decimal(set);
}

// "time of flight": the quantity's name inside a sentence.
std::string lower_name(quantity what) {
  std::string name(name_of(what));
  name[0] = static_cast<char>(name[0] - 'A' + 'a');
  return name;
}

std::string_view inner_lines(const text& made) {
  std::string_view view = made.view();
  view.remove_prefix(1);
  while (!view.empty() && view.back() == '\n') {
    view.remove_suffix(1);
  }
  return view;
}

// A figure in the HTML where it stands: the package's file, its desc as its
// alternative text.
void append_image(text& out, std::string_view file, std::string_view words) {
  out.append("&lt;p&gt;&lt;img src=\"$IMS-CC-FILEBASE$/");
  out.append(file);
  out.append("\" alt=\"");
  append_html_in_xml(out, words);
  out.append("\"&gt;&lt;/p&gt;");
}

std::string figure_file(std::string_view kind, int number) {
  return std::string(kind) + "-" + decimal(static_cast<std::uint32_t>(number)) + ".svg";
}

void append_field(text& out, std::string_view label, std::string_view entry) {
  out.append("            <qtimetadatafield>\n              <fieldlabel>");
  out.append(label);
  out.append("</fieldlabel>\n              <fieldentry>");
  out.append(entry);
  out.append("</fieldentry>\n            </qtimetadatafield>\n");
}

// One item: the question's statement and sketch, what is asked with its unit,
// one decimal answer, exact or within 1 % of the printed value, and the
// worked answer with its figure as general feedback.
void append_item(text& out, const problem& p, const asked_value& asked, std::string_view statement,
                 std::string_view feedback) {
  const std::string number = decimal(static_cast<std::uint32_t>(p.number));
  const std::string what = lower_name(asked.what);
  out.append("      <item ident=\"q");
  out.append(number);
  out.append("-");
  for (const char c : what) {
    out.append(c == ' ' ? std::string_view("_") : std::string_view(&c, 1));
  }
  out.append("\" title=\"Question ");
  out.append(number);
  out.append(": ");
  out.append(what);
  out.append("\">\n        <itemmetadata>\n          <qtimetadata>\n");
  append_field(out, "question_type", "numerical_question");
  text points;
  points.append_i(points_per_question / static_cast<int>(p.asked.size));
  append_field(out, "points_possible", points.view());
  out.append(
      "          </qtimetadata>\n        </itemmetadata>\n        <presentation>\n"
      "          <material>\n            <mattext texttype=\"text/html\">");
  out.append(statement);
  out.append("&lt;p&gt;");
  append_html_in_xml(out, label_of(asked.what));
  out.append(
      "&lt;/p&gt;</mattext>\n          </material>\n"
      "          <response_str ident=\"response1\" rcardinality=\"Single\">\n"
      "            <render_fib fibtype=\"Decimal\">\n"
      "              <response_label ident=\"answer1\"/>\n"
      "            </render_fib>\n          </response_str>\n        </presentation>\n"
      "        <resprocessing>\n          <outcomes>\n"
      "            <decvar maxvalue=\"100\" minvalue=\"0\" varname=\"SCORE\" "
      "vartype=\"Decimal\"/>\n"
      "          </outcomes>\n          <respcondition continue=\"Yes\">\n"
      "            <conditionvar>\n              <other/>\n            </conditionvar>\n"
      "            <displayfeedback feedbacktype=\"Response\" linkrefid=\"general_fb\"/>\n"
      "          </respcondition>\n          <respcondition continue=\"No\">\n"
      "            <conditionvar>\n              <or>\n"
      "                <varequal respident=\"response1\">");
  const std::string_view printed = asked.printed.view();
  out.append(printed);
  out.append(
      "</varequal>\n                <and>\n"
      "                  <vargte respident=\"response1\">");
  out.append(percent_of(printed, 99));
  out.append("</vargte>\n                  <varlte respident=\"response1\">");
  out.append(percent_of(printed, 101));
  out.append(
      "</varlte>\n                </and>\n              </or>\n            </conditionvar>\n"
      "            <setvar action=\"Set\" varname=\"SCORE\">100</setvar>\n"
      "          </respcondition>\n        </resprocessing>\n"
      "        <itemfeedback ident=\"general_fb\">\n          <flow_mat>\n            <material>\n"
      "              <mattext texttype=\"text/html\">");
  out.append(feedback);
  out.append(
      "</mattext>\n            </material>\n          </flow_mat>\n        </itemfeedback>\n"
      "      </item>\n");
}

// The question's items, which share its statement and its feedback.
void append_items(text& out, const problem& p) {
  text made;
  write_question(made, p.number, p.q);
  std::string_view lines = inner_lines(made);
  // The platform numbers the items itself: the statement leaves out the
  // run's number ("3. "), as in the Moodle file.
  lines.remove_prefix(lines.find(". ") + 2);
  text statement;
  statement.append("&lt;pre&gt;");
  append_html_in_xml(statement, lines);
  statement.append("&lt;/pre&gt;");
  append_image(statement, figure_file("question", p.number), question_figure_words(p));

  made.clear();
  write_answer(made, p.a);
  text feedback;
  feedback.append("&lt;pre&gt;");
  append_html_in_xml(feedback, inner_lines(made));
  feedback.append("&lt;/pre&gt;");
  append_image(feedback, figure_file("answer", p.number), answer_figure_words(p));

  for (const asked_value& asked : p.asked.view()) {
    append_item(out, p, asked, statement.view(), feedback.view());
  }
}

bool write_assessment(const problem_set& set, int count, const block_sink& write) {
  const std::string id = identifier_of(set.number());
  block_writer blocks(write);
  text& out = blocks.out();
  out.append(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<questestinterop xmlns=\"http://www.imsglobal.org/xsd/ims_qtiasiv1p2\">\n"
      "  <assessment ident=\"");
  out.append(id);
  out.append("\" title=\"Projectile motion, set ");
  out.append_u(set.number());
  // The root section has neither a title nor a rubric: Canvas would make
  // another question of it.
  out.append("\">\n    <section ident=\"root_section\">\n");
  for (int n = 1; n <= count; ++n) {
    append_items(out, set.at(n));
    if (!blocks.flush()) {
      return false;
    }
  }
  out.append("    </section>\n  </assessment>\n</questestinterop>\n");
  return blocks.flush(true);
}

// The quiz's settings, which Canvas reads from this file alone.
std::string assessment_meta(std::uint32_t set, int count) {
  text out;
  out.append(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<quiz identifier=\"");
  out.append(identifier_of(set));
  out.append(
      "\" xmlns=\"http://canvas.instructure.com/xsd/cccv1p0\">\n"
      "  <title>Projectile motion, set ");
  out.append_u(set);
  out.append(
      "</title>\n  <description></description>\n"
      "  <shuffle_answers>false</shuffle_answers>\n"
      "  <scoring_policy>keep_highest</scoring_policy>\n"
      "  <quiz_type>assignment</quiz_type>\n  <points_possible>");
  out.append_i(points_per_question * count);
  out.append(
      "</points_possible>\n  <show_correct_answers>true</show_correct_answers>\n"
      "  <allowed_attempts>1</allowed_attempts>\n"
      "  <one_question_at_a_time>false</one_question_at_a_time>\n"
      "</quiz>\n");
  return std::string(out.view());
}

// Every file in the package but itself, each declared: the assessment, its
// settings, and each figure as a resource of its own.
std::string manifest(std::uint32_t set, int count) {
  const std::string id = identifier_of(set);
  text out;
  out.append(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<manifest identifier=\"");
  out.append(id);
  out.append(
      "-manifest\" xmlns=\"http://www.imsglobal.org/xsd/imscp_v1p1\">\n"
      "  <metadata>\n    <schema>IMS Content</schema>\n"
      "    <schemaversion>1.1.3</schemaversion>\n  </metadata>\n"
      "  <organizations/>\n  <resources>\n    <resource identifier=\"");
  out.append(id);
  out.append("\" type=\"imsqti_xmlv1p2\">\n      <file href=\"");
  out.append(id + "/" + id + ".xml");
  out.append("\"/>\n      <dependency identifierref=\"");
  out.append(id);
  out.append("-meta\"/>\n    </resource>\n    <resource identifier=\"");
  out.append(id);
  out.append(
      "-meta\" type=\"associatedcontent/imscc_xmlv1p1/learning-application-resource\" "
      "href=\"");
  out.append(id);
  out.append("/assessment_meta.xml\">\n      <file href=\"");
  out.append(id);
  out.append("/assessment_meta.xml\"/>\n    </resource>\n");
  for (int n = 1; n <= count; ++n) {
    for (const std::string_view kind : {"question", "answer"}) {
      const std::string file = figure_file(kind, n);
      out.append("    <resource identifier=\"");
      out.append(file.substr(0, file.size() - 4));
      out.append("\" type=\"webcontent\" href=\"web_resources/");
      out.append(file);
      out.append("\">\n      <file href=\"web_resources/");
      out.append(file);
      out.append("\"/>\n    </resource>\n");
    }
  }
  out.append("  </resources>\n</manifest>\n");
  return std::string(out.view());
}

}  // namespace

bool write_qti(const problem_set& set, int count, const block_sink& write,
               const figure_source& drawn) {
  zip_writer zip(write);
  const std::string id = identifier_of(set.number());
  if (!zip.add("imsmanifest.xml", manifest(set.number(), count)) ||
      !zip.add_made(id + "/" + id + ".xml",
                    [&](const block_sink& sink) { return write_assessment(set, count, sink); }) ||
      !zip.add(id + "/assessment_meta.xml", assessment_meta(set.number(), count))) {
    return false;
  }
  for (int n = 1; n <= count; ++n) {
    const figures made = drawn(set.at(n));
    if (!zip.add("web_resources/" + figure_file("question", n), made.question) ||
        !zip.add("web_resources/" + figure_file("answer", n), made.answer)) {
      return false;
    }
  }
  return zip.finish();
}

}  // namespace projectile
