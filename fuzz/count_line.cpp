// libFuzzer target: arbitrary bytes as standard input for the two reads of a
// run. Checks that the line buffer is never overrun (ASan sees a buffer of
// exactly its size), that a line is consumed through its line end whatever its
// length, and that the count agrees with the C library's strtoll clamped to
// int, the conversion atoi performs with its overflow made defined.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "input.h"
#include "require.h"

namespace {

int reference_count(std::string_view kept) {
  const std::string copy(kept);  // strtoll stops at the first NUL, as parse_count does
  const long long value = std::strtoll(copy.c_str(), nullptr, 10);
  return static_cast<int>(value < INT_MIN ? INT_MIN : value > INT_MAX ? INT_MAX : value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  // fmemopen refuses an empty buffer: an empty input is a one-byte one
  // whose byte is read before the test.
  static char one_byte[] = "x";
  char* bytes = size == 0 ? one_byte : const_cast<char*>(input.data());
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(
      fmemopen(bytes, std::max<std::size_t>(size, 1), "r"), &std::fclose);
  require(in != nullptr, "fmemopen failed");
  if (size == 0) {
    (void)std::getc(in.get());
  }
  // A heap buffer of exactly the line buffer's size: any write past it is an
  // AddressSanitizer report.
  auto buf = std::make_unique<projectile::line_buffer>();

  std::size_t line_start = 0;
  for (int line = 0; line < 2; ++line) {
    const auto kept = projectile::read_line(in.get(), *buf);
    const std::string_view rest = input.substr(std::min(line_start, size));
    if (rest.empty()) {
      require(!kept.has_value(), "a line was read past the end of input");
      break;
    }
    require(kept.has_value(), "a line was lost");
    const std::size_t end = std::min(rest.find('\n'), rest.size());
    const std::string_view expected = rest.substr(0, std::min<std::size_t>(end, 15));
    require(*kept == expected, "the kept text is not the line's first 15 characters");
    require(kept->data() == buf->data() && (*buf)[kept->size()] == '\0',
            "the kept text is not NUL-terminated in the buffer");
    require(projectile::parse_count(*kept) == reference_count(*kept),
            "the count disagrees with strtoll");
    line_start += end + 1;
    const long position = std::ftell(in.get());
    require(static_cast<std::size_t>(position) == std::min(line_start, size),
            "the line was not consumed through its line end");
  }
  return 0;
}
