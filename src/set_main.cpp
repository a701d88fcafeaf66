// projectile-set: the questions of one set, the run that projectile-questions
// makes when started at a given second, or a version of them for each student
// of a class, written for a teacher's scripts in any of the forms of the
// library's table: as that run writes them, as a worksheet with its answer
// key, as a Moodle quiz file, as a Canvas package, as a class's list, or as
// figures.
#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#include <utility>
#include <variant>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <unistd.h>
#endif

#include "class_list.h"
#include "forms.h"
#include "handout.h"
#include "marking.h"
#include "problem.h"
#include "scan_files.h"
#include "set_arguments.h"

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

// A file of a folder form, made with the folders its path names; false, with
// the reason said, when it cannot be.
bool write_file(const std::filesystem::path& path, std::string_view contents) {
  std::error_code made;
  std::filesystem::create_directories(path.parent_path(), made);
  if (made) {
    (void)std::fprintf(stderr, "projectile-set: cannot make %s: %s\n",
                       path.parent_path().string().c_str(), made.message().c_str());
    return false;
  }
  std::FILE* file = std::fopen(path.string().c_str(), "wb");
  bool written = file != nullptr;
  if (written) {
    written = std::fwrite(contents.data(), 1, contents.size(), file) == contents.size();
    written = std::fclose(file) == 0 && written;
  }
  if (!written) {
    const int error = errno;
    (void)std::fprintf(stderr, "projectile-set: cannot write %s: %s\n", path.string().c_str(),
                       std::strerror(error));
  }
  return written;
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

// The marks of the pages in `files`, as CSV on standard output; what was
// skipped, and each value to settle, said on standard error. The pages are
// decoded and read side by side, a thread a processor, then put to their
// students in the order of the files and their pages, so that which of two
// copies of a page is taken never depends on which was read first.
int mark(const projectile::handout& made, const std::vector<std::string>& files) {
  struct file_read {
    std::string refused;
    std::map<int, std::pair<std::string, projectile::page_read>> pages;  // by index
    std::mutex taking;
  };
  std::vector<file_read> read(files.size());
  const int parts = static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1U, 16U));
  std::atomic<std::size_t> next{0};
  const auto work = [&] {
    for (std::size_t item = next++; item < files.size() * static_cast<std::size_t>(parts);
         item = next++) {
      file_read& file = read[item / static_cast<std::size_t>(parts)];
      const int part = static_cast<int>(item % static_cast<std::size_t>(parts));
      std::string refused;
      try {
        refused = projectile::each_scanned_page(
            files[item / static_cast<std::size_t>(parts)],
            [&](const projectile::image_view& image, std::string_view source, int index) {
              projectile::page_read page = projectile::read_page(image);
              const std::lock_guard<std::mutex> lock(file.taking);
              file.pages.emplace(index, std::make_pair(std::string(source), std::move(page)));
            },
            part, parts);
      } catch (const std::exception& error) {
        refused = std::string("cannot be read: ") + error.what();
      }
      if (!refused.empty()) {
        const std::lock_guard<std::mutex> lock(file.taking);
        file.refused = refused;
      }
    }
  };
  std::vector<std::thread> workers;
  for (int w = 1; w < parts; ++w) {
    workers.emplace_back(work);
  }
  work();
  for (std::thread& worker : workers) {
    worker.join();
  }

  projectile::class_marking marking(made);
  bool any = false;
  for (std::size_t f = 0; f < files.size(); ++f) {
    for (const auto& [index, page] : read[f].pages) {
      const auto added = marking.add(page.second, page.first);
      any = any || added.read;
      if (!added.read) {
        (void)std::fprintf(stderr, "projectile-set: %s: %s\n", page.first.c_str(),
                           added.said.c_str());
      }
    }
    if (!read[f].refused.empty()) {
      (void)std::fprintf(stderr, "projectile-set: %s %s\n", files[f].c_str(),
                         read[f].refused.c_str());
    }
  }
  // A page not read is said once, not for each of its values.
  const projectile::unclear_value* said_before = nullptr;
  for (const projectile::unclear_value& left : marking.unclear()) {
    const auto& who = made.students[static_cast<std::size_t>(left.student)];
    if (left.source.empty()) {
      if (said_before == nullptr || said_before->student != left.student ||
          said_before->page != left.page) {
        (void)std::fprintf(stderr, "projectile-set: unclear: %s%s%s\n", who.name.c_str(),
                           who.name.empty() ? "" : ", ", left.why.c_str());
      }
      said_before = &left;
      continue;
    }
    const std::string_view what = projectile::name_of(left.what);
    (void)std::fprintf(stderr, "projectile-set: unclear: %s%spage %d, question %d, %.*s: %s\n",
                       who.name.c_str(), who.name.empty() ? "" : ", ", left.page, left.question,
                       static_cast<int>(what.size()), what.data(), left.why.c_str());
  }
  const std::vector<std::string> unmarked = marking.unmarked();
  if (!unmarked.empty() && any) {
    std::string names;
    for (const std::string& name : unmarked) {
      names += names.empty() ? "" : "; ";
      names += name;
    }
    (void)std::fprintf(stderr, "projectile-set: no page read of %s\n", names.c_str());
  }
  if (!any) {
    (void)std::fprintf(stderr, "projectile-set: no answer page was read\n");
    return 1;
  }
#ifdef _WIN32
  (void)_setmode(_fileno(stdout), _O_BINARY);
#endif
  return put(marking.csv()) && std::fflush(stdout) == 0 ? 0 : write_failed();
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
    (void)std::fprintf(stderr, "projectile-set: %s\n%s", refused->c_str(),
                       projectile::set_usage().c_str());
    return 2;
  }
  const auto& request = std::get<projectile::set_request>(parsed);
  if (request.help) {
    return put(projectile::set_usage()) && put(projectile::set_help()) && std::fflush(stdout) == 0
               ? 0
               : write_failed();
  }
  const projectile::set_form& form = *request.form;
  if (form.kind == projectile::form_kind::binary && output_is_terminal()) {
    (void)std::fprintf(stderr,
                       "projectile-set: --%.*s writes a zip file: send it to a file, e.g. > "
                       "set.zip\n",
                       static_cast<int>(form.name.size()), form.name.data());
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
  if (const std::string too_many =
          projectile::form_refused(form, static_cast<long long>(versions) * request.count);
      !too_many.empty()) {
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
  const projectile::handout made =
      of_class ? projectile::handout_of_class(set, request.count, names, versions)
               : projectile::handout_of_set(set, request.count);
  if (!request.scans.empty()) {
    return mark(made, request.scans);
  }
  // The set is written in blocks, each one write. A file's bytes are the
  // same on every platform; only the text keeps the platform's line ends.
  (void)std::setvbuf(stdout, nullptr, _IONBF, 0);
#ifdef _WIN32
  if (form.kind == projectile::form_kind::file || form.kind == projectile::form_kind::binary) {
    (void)_setmode(_fileno(stdout), _O_BINARY);
  }
#endif
  bool folder_failed = false;
  const bool written = form.write(
      made, {put,
             [&](std::string_view path, std::string_view contents) {
               folder_failed = !write_file(std::filesystem::path(request.folder) / path, contents);
               return !folder_failed;
             },
             projectile::drawn_afresh,
             {},
             request.sheets});
  if (folder_failed) {
    return 1;
  }
  return written ? 0 : write_failed();
} catch (const std::exception& error) {
  (void)std::fprintf(stderr, "projectile-set: %s\n", error.what());
  return 1;
}
