// projectile-questions: practice questions on projectile motion, each followed
// at once by its worked answer. The course of one interactive run.
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "input.h"
#include "problem.h"
#include "set.h"

namespace {

constexpr std::string_view banner =
    "Projectile motion question generator (NOTE: solutions don't use sig figs)\n\n";
constexpr std::string_view count_prompt = "Number of questions? ";
constexpr std::string_view closing_prompt = "Program finished, press enter to exit.";

bool put(std::string_view s) {
  return std::fwrite(s.data(), 1, s.size(), stdout) == s.size();
}

// A prompt must be on the screen before the read that answers it, whatever
// stdout is connected to.
bool put_prompt(std::string_view prompt) {
  return put(prompt) && std::fflush(stdout) == 0;
}

// The one way a run ends other than with 0: output that was lost must not be
// reported as success.
int write_failed() {
  const int error = errno;
  // Should stderr fail as well, there is no one left to tell.
  (void)std::fprintf(stderr, "projectile-questions: write error: %s\n", std::strerror(error));
  return 1;
}

}  // namespace

int main() {
#ifdef SIGPIPE
  // A reader that goes away (projectile-questions | head) ends the run quietly,
  // even when started from a process that ignores SIGPIPE.
  (void)std::signal(SIGPIPE, SIG_DFL);  // cannot fail for a valid signal
#endif
  // Read once, before anything else: the second the run is seeded from.
  const std::uint32_t set = projectile::seeded_from_clock().state;
  // Before any output, as the C library requires.
  (void)std::setvbuf(stdout, nullptr, _IONBF, 0);  // a failure leaves stdout buffered: no harm

  if (!put(banner) || !put_prompt(count_prompt)) {
    return write_failed();
  }
  projectile::line_buffer buf{};
  const auto count_line = projectile::read_line(stdin, buf);
  const int numqs = count_line ? projectile::parse_count(*count_line) : 0;
  if (numqs == 0) {
    return 0;
  }

  // The run is the clock's set: its questions go to stdout in blocks of some
  // kilobytes, one write each, with stdout's own buffering off, so that
  // nothing is copied twice. Making a block takes microseconds, so on a
  // terminal it still appears at once.
  if (!projectile::write_set(set, numqs, projectile::set_form::run, put) ||
      !put_prompt(closing_prompt)) {
    return write_failed();
  }
  projectile::read_line(stdin, buf);
  return 0;
}
