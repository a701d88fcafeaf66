#include "input.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace projectile {
namespace {

TEST(ParseCount, ReadsAsAtoiDoes) {
  struct example {
    const char* line;
    int count;
  };
  for (const auto& [line, count] : {
           example{"0", 0},
           example{"-0", 0},
           example{"abc", 0},
           example{"", 0},
           example{"2", 2},
           example{"  +4", 4},
           example{"12abc", 12},
           example{"-3", -3},
           example{"\t\v\f\r 7", 7},
           example{"+-3", 0},
           example{"- 3", 0},
           example{"3 please", 3},
           example{"5\r", 5},
           example{"007", 7},
           example{"1e3", 1},
       }) {
    EXPECT_EQ(parse_count(line), count) << '"' << line << '"';
  }
}

TEST(ParseCount, StopsAtAnEmbeddedNul) {
  EXPECT_EQ(parse_count(std::string_view("4\0"
                                         "5",
                                         3)),
            4);
  EXPECT_EQ(parse_count(std::string_view("\0"
                                         "5",
                                         2)),
            0);
}

TEST(ParseCount, SaturatesOutsideInt) {
  EXPECT_EQ(parse_count("2147483647"), INT_MAX);
  EXPECT_EQ(parse_count("2147483648"), INT_MAX);
  EXPECT_EQ(parse_count("-2147483648"), INT_MIN);
  EXPECT_EQ(parse_count("-2147483649"), INT_MIN);
  EXPECT_EQ(parse_count("999999999999999"), INT_MAX);
  EXPECT_EQ(parse_count("-999999999999999"), INT_MIN);
}

TEST(WholeNumber, TakesEverySeedAndNothingElse) {
  EXPECT_EQ(whole_number("0"), 0U);
  EXPECT_EQ(whole_number("1796634001"), 1796634001U);
  EXPECT_EQ(whole_number("0004294967295"), UINT32_MAX);
  for (const char* refused : {"", "4294967296", "99999999999999999999999", "-1", "+5", " 5", "5 ",
                              "5a", "1e3", "0x10", "1.0"}) {
    EXPECT_EQ(whole_number(refused), std::nullopt) << '"' << refused << '"';
  }
}

// A FILE holding exactly `bytes`, read back from the start.
std::unique_ptr<std::FILE, int (*)(std::FILE*)> input_of(const std::string& bytes) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::tmpfile(), &std::fclose);
  if (file == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
    ADD_FAILURE() << "cannot set up a temporary input file";
    return {nullptr, &std::fclose};
  }
  std::rewind(file.get());
  return file;
}

TEST(ReadLine, KeepsTheLineWithoutItsEnd) {
  auto in = input_of("12\n\n");
  line_buffer buf{};
  EXPECT_EQ(read_line(in.get(), buf), "12");
  EXPECT_EQ(read_line(in.get(), buf), "");
  EXPECT_EQ(read_line(in.get(), buf), std::nullopt);
}

TEST(ReadLine, KeepsFifteenCharactersAndDropsTheRestOfTheLine) {
  const std::string sixty = "2" + std::string(59, 'x');
  auto in = input_of(sixty + "\nnext\n");
  line_buffer buf{};
  buf.fill('#');
  EXPECT_EQ(read_line(in.get(), buf), sixty.substr(0, 15));
  EXPECT_EQ(buf[15], '\0');
  EXPECT_EQ(read_line(in.get(), buf), "next");
}

TEST(ReadLine, TakesALastLineWithoutLineEnd) {
  auto in = input_of("7");
  line_buffer buf{};
  EXPECT_EQ(read_line(in.get(), buf), "7");
  EXPECT_EQ(read_line(in.get(), buf), std::nullopt);
}

TEST(ReadLine, KeepsCarriageReturnAndNulAsCharacters) {
  auto in =
      input_of(std::string("3\r\n\0"
                           "9\n",
                           6));
  line_buffer buf{};
  EXPECT_EQ(read_line(in.get(), buf), "3\r");
  EXPECT_EQ(read_line(in.get(), buf), std::string_view("\0"
                                                       "9",
                                                       2));
}

}  // namespace
}  // namespace projectile
