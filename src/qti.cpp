#include "qti.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "markup.h"
#include "quantity.h"
#include "text.h"
#include "zip.h"

namespace projectile {

std::string times_ten_thousandths(std::string_view printed, unsigned parts) {
  // printed = digits * 10^-places; times parts / 10000 is
  // (digits * parts) * 10^-(places + 4), in whole numbers: exact.
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
  places += 4;
  const std::string product = std::to_string(digits * parts);
  // Zeros before it, so that a digit stands before the point. (Put
  // together a piece at a time: GCC 12 warns falsely, -Wrestrict, of
  // inserting into a string on 32-bit targets.)
  std::string made(product.size() <= places ? places + 1 - product.size() : 0, '0');
  made += product;
  const std::size_t whole = made.size() - places;
  const std::string fraction = made.substr(whole);
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

std::string identifier_of(std::uint32_t set) {
  return "projectile-set-" + decimal(set);
}

// A name or path as a part of an identifier, which holds letters, digits,
// '_' and '-' alone.
std::string identifier_part(std::string_view name) {
  std::string part(name);
  std::replace_if(
      part.begin(), part.end(),
      [](char c) {
        return !((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                 c == '-');
      },
      '_');
  return part;
}

// "time of flight": the quantity's name inside a sentence.
std::string lower_name(quantity what) {
  std::string name(name_of(what));
  name[0] = static_cast<char>(name[0] - 'A' + 'a');
  return name;
}

// A figure in the HTML where it stands: the package's file, its desc as its
// alternative text.
void append_image(text& out, std::string_view file, std::string_view words) {
  // Canvas links $IMS-CC-FILEBASE$/P to the file whose path in the zip is
  // P, or ends with P: the path must name the file's folder too.
  out.append("&lt;p&gt;&lt;img src=\"$IMS-CC-FILEBASE$/web_resources/");
  out.append(file);
  out.append("\" alt=\"");
  append_html_in_xml(out, words);
  out.append("\"&gt;&lt;/p&gt;");
}

// A figure's file under web_resources/: in a class's package, in a folder
// of its version's own.
std::string figure_file(const handout& made, std::uint32_t set, std::string_view kind, int number) {
  std::string file;
  if (made.of_class) {
    file = "set-" + decimal(set) + "/";
  }
  file += kind;
  file += "-";
  file += decimal(static_cast<std::uint32_t>(number));
  file += ".svg";
  return file;
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
void append_item(text& out, std::string_view ident_start, const problem& p,
                 const asked_value& asked, int points, std::string_view statement,
                 std::string_view feedback) {
  const std::string number = decimal(static_cast<std::uint32_t>(p.number));
  const std::string what = lower_name(asked.what);
  out.append("      <item ident=\"");
  out.append(ident_start);
  out.append("q");
  out.append(number);
  out.append("-");
  out.append(identifier_part(what));
  out.append("\" title=\"Question ");
  out.append(number);
  out.append(": ");
  out.append(what);
  out.append("\">\n        <itemmetadata>\n          <qtimetadata>\n");
  append_field(out, "question_type", "numerical_question");
  text worth;
  worth.append_i(points);
  append_field(out, "points_possible", worth.view());
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
  out.append(times_ten_thousandths(printed, ten_thousand - tolerance_per_10000));
  out.append("</vargte>\n                  <varlte respident=\"response1\">");
  out.append(times_ten_thousandths(printed, ten_thousand + tolerance_per_10000));
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

// What every item of a question shares: its statement with its sketch, and
// its feedback, the worked answer with its figure.
struct shared_texts {
  text statement;
  text feedback;
};

shared_texts texts_of(const handout& made, std::uint32_t set, const problem& p) {
  shared_texts texts;
  texts.statement.append("&lt;pre&gt;");
  append_html_in_xml(texts.statement, statement_text(p));
  texts.statement.append("&lt;/pre&gt;");
  append_image(texts.statement, figure_file(made, set, "question", p.number),
               question_figure_words(p));
  texts.feedback.append("&lt;pre&gt;");
  append_html_in_xml(texts.feedback, worked_text(p));
  texts.feedback.append("&lt;/pre&gt;");
  append_image(texts.feedback, figure_file(made, set, "answer", p.number), answer_figure_words(p));
  return texts;
}

// Place `n`: the items of its question, or, in a class's package, a group
// for each value any version asks for there, each drawing one of the
// versions' items for it. The place's 20 points are shared among its items
// or groups.
void append_place(text& out, const handout& made, int n) {
  if (!made.of_class) {
    const problem p = problem_set(made.set).at(n);
    const shared_texts texts = texts_of(made, made.set, p);
    for (const asked_value& asked : p.asked.view()) {
      append_item(out, "", p, asked, points_per_question / static_cast<int>(p.asked.size),
                  texts.statement.view(), texts.feedback.view());
    }
    return;
  }
  std::vector<problem> problems;
  std::vector<shared_texts> texts;
  std::array<bool, quantities.size()> asked_here{};
  const std::vector<std::uint32_t> versions = made.sets();
  for (const std::uint32_t version : versions) {
    problems.push_back(problem_set(version).at(n));
    texts.push_back(texts_of(made, version, problems.back()));
    for (const asked_value& asked : problems.back().asked.view()) {
      asked_here[static_cast<std::size_t>(asked.what)] = true;
    }
  }
  // (Every question asks for something: there is a group at the least.)
  const int share =
      points_per_question /
      std::max(1, static_cast<int>(std::count(asked_here.begin(), asked_here.end(), true)));
  const std::string number = decimal(static_cast<std::uint32_t>(n));
  for (const quantity what : quantities) {
    if (!asked_here[static_cast<std::size_t>(what)]) {
      continue;
    }
    const std::string name = lower_name(what);
    out.append("      <section ident=\"g");
    out.append(number);
    out.append("-");
    out.append(identifier_part(name));
    out.append("\" title=\"Question ");
    out.append(number);
    out.append(": ");
    out.append(name);
    out.append(
        "\">\n        <selection_ordering>\n          <selection>\n"
        "            <selection_number>1</selection_number>\n"
        "            <selection_extension>\n              <points_per_item>");
    out.append_i(share);
    out.append(
        "</points_per_item>\n            </selection_extension>\n          </selection>\n"
        "        </selection_ordering>\n");
    for (std::size_t v = 0; v < problems.size(); ++v) {
      for (const asked_value& asked : problems[v].asked.view()) {
        if (asked.what == what) {
          // Put together a piece at a time: GCC 12 warns falsely (-Wrestrict)
          // of "s" + std::string on 32-bit targets.
          std::string version_part(1, 's');
          version_part += decimal(versions[v]);
          version_part += '-';
          append_item(out, version_part, problems[v], asked, share, texts[v].statement.view(),
                      texts[v].feedback.view());
        }
      }
    }
    out.append("      </section>\n");
  }
}

bool write_assessment(const handout& made, const block_sink& write) {
  const std::string id = identifier_of(made.set);
  block_writer blocks(write);
  text& out = blocks.out();
  out.append(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<questestinterop xmlns=\"http://www.imsglobal.org/xsd/ims_qtiasiv1p2\">\n"
      "  <assessment ident=\"");
  out.append(id);
  out.append("\" title=\"Projectile motion, set ");
  out.append_u(made.set);
  // The root section has neither a title nor a rubric: Canvas would make
  // another question of it.
  out.append("\">\n    <section ident=\"root_section\">\n");
  for (int n = 1; n <= made.count; ++n) {
    append_place(out, made, n);
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
void append_figure_resource(text& out, std::string_view file) {
  out.append("    <resource identifier=\"");
  out.append(identifier_part(file.substr(0, file.size() - 4)));
  out.append("\" type=\"webcontent\" href=\"web_resources/");
  out.append(file);
  out.append("\">\n      <file href=\"web_resources/");
  out.append(file);
  out.append("\"/>\n    </resource>\n");
}

std::string manifest(const handout& made) {
  const std::string id = identifier_of(made.set);
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
  for (const std::uint32_t version : made.sets()) {
    for (int n = 1; n <= made.count; ++n) {
      for (const std::string_view kind : {"question", "answer"}) {
        append_figure_resource(out, figure_file(made, version, kind, n));
      }
    }
  }
  out.append("  </resources>\n</manifest>\n");
  return std::string(out.view());
}

}  // namespace

bool write_qti(const handout& made, const block_sink& write, const figure_source& drawn) {
  zip_writer zip(write);
  const std::string id = identifier_of(made.set);
  if (!zip.add("imsmanifest.xml", manifest(made)) ||
      !zip.add_made(id + "/" + id + ".xml",
                    [&](const block_sink& sink) { return write_assessment(made, sink); }) ||
      !zip.add(id + "/assessment_meta.xml", assessment_meta(made.set, made.count))) {
    return false;
  }
  for (const std::uint32_t version : made.sets()) {
    const bool added = problem_set(version).each(made.count, [&](int n, const question& q) {
      const figures figured = drawn(version, problem_of(n, q));
      return zip.add("web_resources/" + figure_file(made, version, "question", n),
                     figured.question) &&
             zip.add("web_resources/" + figure_file(made, version, "answer", n), figured.answer);
    });
    if (!added) {
      return false;
    }
  }
  return zip.finish();
}

}  // namespace projectile
