// projectile-questions: practice questions on projectile motion, each followed
// at once by its worked answer. One interactive run, seeded from the clock.
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "console.h"
#include "problem.h"

int main() {
#ifdef SIGPIPE
  // A reader that goes away (projectile-questions | head) ends the run quietly,
  // even when started from a process that ignores SIGPIPE.
  (void)std::signal(SIGPIPE, SIG_DFL);  // cannot fail for a valid signal
#endif
  // Read once, before anything else: the second the run is seeded from.
  const std::uint32_t set = projectile::seeded_from_clock().state;
  // Before any output, as the C library requires. The run writes its
  // questions in blocks of some kilobytes, one write each, so that nothing is
  // copied twice. A failure leaves stdout buffered: no harm.
  (void)std::setvbuf(stdout, nullptr, _IONBF, 0);
  if (!projectile::run_console(set, stdin, stdout)) {
    // The one way a run ends other than with 0: output that was lost must
    // not be reported as success. Should stderr fail as well, there is no one
    // left to tell.
    const int error = errno;
    (void)std::fprintf(stderr, "projectile-questions: write error: %s\n", std::strerror(error));
    return 1;
  }
  return 0;
}
