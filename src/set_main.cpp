// projectile-set: the questions of one set, the run that projectile-questions
// makes when started at a given second, written for a teacher's scripts: as
// that run writes them, as a worksheet with its answer key, as a Moodle quiz
// file, or as figures.
#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <variant>
#include <vector>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "class_forms.h"
#include "class_list.h"
#include "figure.h"
#include "moodle.h"
#include "problem.h"
#include "problem_set.h"
#include "qti.h"
#include "set_arguments.h"
#include "set_text.h"
#include "text.h"

namespace {

// A zip on a terminal is no use to anyone, and may upset it.
bool output_is_terminal() {
#ifdef _WIN32
  return _isatty(_fileno(stdout)) != 0;
#else
  return isatty(STDOUT_FILENO) != 0;
#endif
}

bool put(std::string_view s) {
  return std::fwrite(s.data(), 1, s.size(), stdout) == s.size();
}

int write_failed() {
  const int error = errno;
  (void)std::fprintf(stderr, "projectile-set: write error: %s\n", std::strerror(error));
  return 1;
}

bool write_file(const std::filesystem::path& path, std::string_view contents) {
  std::FILE* file = std::fopen(path.string().c_str(), "wb");
  if (file == nullptr) {
    return false;
  }
  const bool written = std::fwrite(contents.data(), 1, contents.size(), file) == contents.size();
  return std::fclose(file) == 0 && written;
}

// Each question's two figures into `folder`, made if it is missing; 1 with
// the file named when one cannot be written.
int write_figures(std::uint32_t set, int count, const std::filesystem::path& folder) {
  std::error_code made;
  std::filesystem::create_directories(folder, made);
  if (made) {
    (void)std::fprintf(stderr, "projectile-set: cannot make %s: %s\n", folder.string().c_str(),
                       made.message().c_str());
    return 1;
  }
  const projectile::problem_set questions(set);
  for (int k = 1; k <= count; ++k) {
    const projectile::problem p = questions.at(k);
    const std::string number = projectile::decimal(static_cast<std::uint32_t>(k));
    const projectile::figures drawn = projectile::draw_figures(p);
    for (const auto& [name, figure] :
         {std::pair{"question-", &drawn.question}, std::pair{"answer-", &drawn.answer}}) {
      const std::filesystem::path path = folder / (name + number + ".svg");
      if (!write_file(path, *figure)) {
        const int error = errno;
        (void)std::fprintf(stderr, "projectile-set: cannot write %s: %s\n", path.string().c_str(),
                           std::strerror(error));
        return 1;
      }
    }
  }
  return 0;
}

// A class list's names, from a file read whole: CSV when its name ends in
// .csv, whatever the case, else a name a line; or why it is refused.
std::variant<std::vector<std::string>, std::string> read_list(const std::string& name) {
  std::FILE* file = std::fopen(name.c_str(), "rb");
  if (file == nullptr) {
    return std::string("cannot be read: ") + std::strerror(errno);
  }
  std::string contents;
  std::array<char, 1U << 16U> buffer{};
  std::size_t got = 0;
  while ((got = std::fread(buffer.data(), 1, buffer.size(), file)) > 0) {
    contents.append(buffer.data(), got);
  }
  const bool failed = std::ferror(file) != 0;
  const int error = errno;
  (void)std::fclose(file);
  if (failed) {
    return std::string("cannot be read: ") + std::strerror(error);
  }
  std::string extension = std::filesystem::path(name).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(), [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  });
  return projectile::read_class_list(contents, extension == ".csv"
                                                   ? projectile::list_format::csv
                                                   : projectile::list_format::lines);
}

}  // namespace

// Memory for the arguments' texts and for the text being made is all that is
// allocated: running out of it is the one exception there can be.
int main(int argc, char** argv) try {
#ifdef SIGPIPE
  (void)std::signal(SIGPIPE, SIG_DFL);  // a reader that goes away ends the run quietly
#endif
  const std::vector<std::string_view> arguments(argv + 1, argv + argc);
  const auto parsed = projectile::parse_set_arguments(arguments);
  if (const auto* refused = std::get_if<std::string>(&parsed)) {
    (void)std::fprintf(stderr, "projectile-set: %s\n%.*s", refused->c_str(),
                       static_cast<int>(projectile::set_usage.size()),
                       projectile::set_usage.data());
    return 2;
  }
  const auto& request = std::get<projectile::set_request>(parsed);
  if (request.help) {
    return put(projectile::set_usage) && put(projectile::set_help()) && std::fflush(stdout) == 0
               ? 0
               : write_failed();
  }
  if (request.output == projectile::set_output::qti && output_is_terminal()) {
    (void)std::fputs("projectile-set: --qti writes a zip file: send it to a file, e.g. > set.zip\n",
                     stderr);
    return 2;
  }
  // A class list is read, and refused, before anything is written.
  std::vector<std::string> names;
  if (!request.class_file.empty()) {
    const auto read = read_list(request.class_file);
    if (const auto* refused = std::get_if<std::string>(&read)) {
      (void)std::fprintf(stderr, "projectile-set: %s: %s\n", request.class_file.c_str(),
                         refused->c_str());
      return 2;
    }
    names = std::get<std::vector<std::string>>(read);
  }
  const bool of_class = !names.empty() || request.versions > 0;
  const int versions = of_class ? std::max(static_cast<int>(names.size()), request.versions) : 1;
  const std::string too_many = request.output == projectile::set_output::moodle
                                   ? projectile::moodle_refused(versions, request.count)
                               : request.output == projectile::set_output::qti
                                   ? projectile::qti_refused(versions, request.count)
                                   : "";
  if (!too_many.empty()) {
    (void)std::fprintf(stderr, "projectile-set: %s\n", too_many.c_str());
    return 2;
  }
  std::uint32_t set = 0;
  if (request.set) {
    set = *request.set;
  } else {
    set = projectile::seeded_from_clock().state;
    (void)std::fprintf(stderr, "projectile-set: set %lu, from the clock\n",
                       static_cast<unsigned long>(set));
  }
  // The set is written in blocks, each one write.
  (void)std::setvbuf(stdout, nullptr, _IONBF, 0);
  bool written = true;
  if (of_class) {
    const std::vector<projectile::student> students = projectile::class_of(set, names, versions);
    const std::vector<std::uint32_t> sets = projectile::sets_of(students);
    switch (request.output) {
      case projectile::set_output::figures:
        for (const projectile::student& s : students) {
          const std::filesystem::path folder =
              std::filesystem::path(request.folder) /
              ("version-" + projectile::decimal(static_cast<std::uint32_t>(s.version)));
          if (const int status = write_figures(s.set, request.count, folder); status != 0) {
            return status;
          }
        }
        return 0;
      case projectile::set_output::moodle:
        written = projectile::write_moodle_class(set, sets, request.count, put);
        break;
      case projectile::set_output::qti:
        written = projectile::write_qti_class(set, sets, request.count, put);
        break;
      case projectile::set_output::list:
        written = projectile::write_class_list(students, put);
        break;
      case projectile::set_output::run:
      case projectile::set_output::worksheet:
        written = projectile::write_class_sheets(students, request.count, put);
        break;
    }
    return written ? 0 : write_failed();
  }
  const projectile::problem_set questions(set);
  switch (request.output) {
    case projectile::set_output::figures:
      return write_figures(set, request.count, request.folder);
    case projectile::set_output::moodle:
      written = projectile::write_moodle(questions, request.count, put);
      break;
    case projectile::set_output::qti:
      written = projectile::write_qti(questions, request.count, put);
      break;
    case projectile::set_output::list:  // refused without a class
    case projectile::set_output::run:
    case projectile::set_output::worksheet:
      written = projectile::write_text(questions, request.count,
                                       request.output == projectile::set_output::worksheet
                                           ? projectile::text_form::worksheet
                                           : projectile::text_form::run,
                                       put);
      break;
  }
  return written ? 0 : write_failed();
} catch (const std::exception& error) {
  (void)std::fprintf(stderr, "projectile-set: %s\n", error.what());
  return 1;
}
