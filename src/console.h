// The driver: the course of one interactive run of the console program.
#pragma once

#include <cstdint>
#include <cstdio>

namespace projectile {

// The run of `set`: the banner and the count prompt, the count read from `in`,
// that many questions of the set with their answers, and the closing prompt,
// answered by one more line. A count of 0, or input ending before the count,
// ends the run after the prompt. `out` should be unbuffered: the questions
// are written in blocks of their own and prompts are flushed before each
// read. False as soon as a write fails, with errno as the failure left it.
bool run_console(std::uint32_t set, std::FILE* in, std::FILE* out);

}  // namespace projectile
