#include "console.h"

#include <string_view>

#include "input.h"
#include "problem_set.h"
#include "set_text.h"

namespace projectile {

namespace {

constexpr std::string_view banner =
    "Projectile motion question generator (NOTE: solutions don't use sig figs)\n\n";
constexpr std::string_view count_prompt = "Number of questions? ";
constexpr std::string_view closing_prompt = "Program finished, press enter to exit.";

}  // namespace

bool run_console(std::uint32_t set, std::FILE* in, std::FILE* out) {
  const auto put = [out](std::string_view s) {
    return std::fwrite(s.data(), 1, s.size(), out) == s.size();
  };
  // A prompt must be on the screen before the read that answers it, whatever
  // the output is connected to.
  const auto put_prompt = [&](std::string_view prompt) {
    return put(prompt) && std::fflush(out) == 0;
  };

  if (!put(banner) || !put_prompt(count_prompt)) {
    return false;
  }
  line_buffer buf{};
  const auto count_line = read_line(in, buf);
  const int numqs = count_line ? parse_count(*count_line) : 0;
  if (numqs == 0) {
    return true;
  }
  // Making a block of questions takes microseconds, so on a terminal each
  // still appears at once.
  if (!write_text(problem_set(set), numqs, text_form::run, put) || !put_prompt(closing_prompt)) {
    return false;
  }
  read_line(in, buf);
  return true;
}

}  // namespace projectile
