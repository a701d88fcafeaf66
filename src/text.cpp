#include "text.h"

#include <array>
#include <bit>
#include <charconv>
#include <cstdint>
#include <cstdio>

#include "bits.h"

namespace projectile {

namespace {

// The two digits of n < 100 as a 16-bit word, the first in the low byte:
// digits are made two at a time and no loop divides by ten per digit.
constexpr std::array<std::uint16_t, 100> digit_pairs = [] {
  std::array<std::uint16_t, 100> pairs{};
  for (std::size_t n = 0; n < 100; ++n) {
    pairs[n] = static_cast<std::uint16_t>(('0' + n / 10) | ('0' + n % 10) << 8);
  }
  return pairs;
}();

// Characters held in a word, the first in the low byte, stored in that order
// whatever the machine's byte order (compilers make this one store).
template <std::size_t n>
void put_word(char* out, std::uint64_t word) noexcept {
  for (std::size_t i = 0; i < n; ++i) {
    out[i] = static_cast<char>(word >> (8 * i));
  }
}

constexpr std::array<std::uint32_t, 10> powers_of_ten = {
    1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000, 1000000000};

// Every printed answer lies between 0.15 and about 1020, so "%g" always takes
// its fixed form there. In 10^-3 <= |v| < 10^5 the six significant digits are
// worked out here, exactly, with no loop and no division; everything else goes
// to std::to_chars.
constexpr double fast_lowest = 1e-3;
constexpr double fast_limit = 1e5;
// v = 1.f * 2^b: the binary exponents b of that range.
constexpr int lowest_exponent = -10;  // 2^-10 < 10^-3
constexpr int highest_exponent = 16;  // 2^16 < 10^5 < 2^17

// floor(b * log10 2) for the b above, as ((b * 1233) >> 12): 1233 / 4096 is
// log10 2 to within 5e-6, far closer than any b * log10 2 (b != 0) comes to an
// integer here. Checked exactly below.
constexpr int decade_of_power_of_two(int b) noexcept {
  return (b * 1233) >> 12;  // C++20: >> of a negative int rounds down
}

// 10^k <= 2^b < 10^(k+1) for k = decade_of_power_of_two(b), with both sides
// exact in double (a power of two times a small integer).
constexpr bool decade_is_exact(int b) noexcept {
  const int k = decade_of_power_of_two(b);
  double two_b = 1;
  for (int i = 0; i < (b < 0 ? -b : b); ++i) {
    two_b = b < 0 ? two_b / 2 : two_b * 2;
  }
  double ten_k = 1;
  for (int i = 0; i < (k < 0 ? -k : k); ++i) {
    ten_k *= 10;
  }
  return k >= 0 ? ten_k <= two_b && two_b < 10 * ten_k : 1 <= two_b * ten_k && two_b * ten_k < 10;
}

static_assert([] {
  for (int b = lowest_exponent; b <= highest_exponent; ++b) {
    if (!decade_is_exact(b)) {
      return false;
    }
  }
  return true;
}());

// 10^(k+1) for k = -4 .. 4, at k + 4. The double nearest each power of ten
// below 1 lies above it, so v >= 10^j compares exactly for every double v.
constexpr std::array<double, 9> next_decade = {1e-3, 1e-2, 1e-1, 1e0, 1e1, 1e2, 1e3, 1e4, 1e5};
// 10^s, exact in double for these s.
constexpr std::array<double, 9> scales = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8};

// v * 10^s rounded to an integer, ties to even as printf rounds, for v = m *
// 2^-r (53-bit m) in the fast range and 1 <= s <= 8, in exact integer
// arithmetic. There r lies in 36..62 and 10^s < 2^27, so m * 10^s < 2^80 fits
// a pair of 64-bit words without any 128-bit type (there is none on 32-bit
// targets).
std::uint32_t exactly_rounded(std::uint64_t bits, int s) noexcept {
  const std::uint64_t m = (bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
  const int r = 1075 - static_cast<int>(bits >> 52);  // v > 0: no sign bit

  // m * p as hi:lo, from the halves of m: m = mh * 2^32 + ml.
  const std::uint64_t p = powers_of_ten[static_cast<std::size_t>(s)];
  const std::uint64_t upper = (m >> 32) * p;          // < 2^48
  const std::uint64_t lower = (m & 0xFFFFFFFFU) * p;  // < 2^59
  const std::uint64_t lo = lower + (upper << 32);
  const std::uint64_t hi = (upper >> 32) + (lo < lower ? 1 : 0);

  const std::uint64_t quotient = (hi << (64 - r)) | (lo >> r);
  const std::uint64_t remainder = lo & ((std::uint64_t{1} << r) - 1);
  const std::uint64_t half = std::uint64_t{1} << (r - 1);
  const bool up = remainder > half || (remainder == half && (quotient & 1) != 0);
  return static_cast<std::uint32_t>(quotient + (up ? 1 : 0));
}

// The same, for v * 10^s in 10^5 .. 10^6, mostly in one multiplication. The
// product rounded to double is within half its ulp, 2^-34 below 2^20, of the
// exact one, and 10^s is exact; so unless it lies within that of a half
// integer, which way it rounds is already certain, and the product's integer
// and fraction parts (both exact) give the result. Only the rare product within
// 2^-32 of a half, exact ties included, is rounded the slow, exact way.
std::uint32_t rounded(double v, std::uint64_t bits, int s) noexcept {
  const double product = v * scales[static_cast<std::size_t>(s)];
  const auto whole = static_cast<std::uint32_t>(product);
  const double fraction = product - static_cast<double>(whole);
  constexpr double margin = 0x1p-32;
  if (fraction < 0.5 - margin) {
    return whole;
  }
  if (fraction > 0.5 + margin) {
    return whole + 1;
  }
  return exactly_rounded(bits, s);
}

// The six digits of d < 10^6 as a word, the first in the low byte, made two
// at a time by fixed-point multiplication instead of division. With
// c = 429497 = ceil(2^32 / 10^4), 10^4 c = 2^32 + 2704; for
// d = 10^4 q + 100 a + b with q, a, b < 100:
//   d c                = q 2^32 + (2704 q + (100 a + b) c)
//   low word times 100 = a 2^32 + (270400 q + 2704 a + 100 b c)
//   low word times 100 = b 2^32 + (27040000 q + 270400 a + 2704 b)
// Each bracket stays below 2^32 (checked at q = a = b = 99 below), so it is
// the low word, and the high words are q, a and b in turn.
constexpr std::uint64_t pair_step = 429497;
static_assert(2704ULL * 99 + 9999 * pair_step < (std::uint64_t{1} << 32));
static_assert(270400ULL * 99 + 2704ULL * 99 + 100ULL * 99 * pair_step < (std::uint64_t{1} << 32));
static_assert(27040000ULL * 99 + 270400ULL * 99 + 2704ULL * 99 < (std::uint64_t{1} << 32));
static_assert(10000 * pair_step == (std::uint64_t{1} << 32) + 2704);

std::uint64_t six_digits(std::uint32_t d) noexcept {
  std::uint64_t y = d * pair_step;
  const auto high = [&y] { return digit_pairs[static_cast<std::uint32_t>(y >> 32)]; };
  std::uint64_t word = high();
  y = (y & 0xFFFFFFFFU) * 100;
  word |= std::uint64_t{high()} << 16;
  y = (y & 0xFFFFFFFFU) * 100;
  return word | std::uint64_t{high()} << 32;
}

// "%g" of the positive v with these bits, fast_lowest <= v < fast_limit,
// written at `out` with up to 12 characters of scratch after it; returns the
// end of the text.
char* fixed_g(char* out, std::uint64_t bits) noexcept {
  const auto v = bit_cast<double>(bits);

  // The decade e = floor(log10 v). From 2^b <= v < 2^(b+1) and
  // 10^k <= 2^b < 10^(k+1), v lies in 10^k .. 10^(k+2): one comparison
  // tells which decade.
  const int k = decade_of_power_of_two(static_cast<int>(bits >> 52) - 1023);
  const int at = k + 4;
  int e = k + (v >= next_decade[static_cast<std::size_t>(at)] ? 1 : 0);

  // v * 10^(5-e) lies in 10^5 .. 10^6, so it rounds to six digits, or to
  // 10^6 when it carries into the next decade: 1.00000 * 10^(e+1).
  std::uint32_t d = rounded(v, bits, 5 - e);
  if (d == 1000000) {
    d = 100000;
    ++e;
  }
  const std::uint64_t digits = six_digits(d);
  // Trailing zero digits, from the top byte down: XOR with "000000" leaves
  // a zero byte for each 0, and the leading digit is never one.
  constexpr std::uint64_t zeros = 0x303030303030;
  // (The 1 below them spares countl_zero a test for 0.)
  const auto trailing = static_cast<unsigned>(std::countl_zero((digits ^ zeros) << 16 | 1)) / 8;

  if (e < 0) {
    // 0.123456, 0.0123456, 0.00123456: "0.", -e-1 zeros, the digits.
    put_word<4>(out, 0x30302E30);  // "0.00"
    put_word<8>(out + 1 - e, digits);
    return out + 7 - e - trailing;
  }
  // e + 1 digits, the point, the other 5 - e: 123.456. Trailing zeros go as
  // far as the point, and the point with them if nothing is left after it.
  // (e == 5 only for 100000, after a carry: the point comes last and goes.)
  const auto whole = static_cast<unsigned>(e + 1);
  const unsigned fraction = 6 - whole;
  const std::uint64_t low = digits & ((std::uint64_t{1} << (8 * whole)) - 1);
  put_word<8>(out, low | std::uint64_t{'.'} << (8 * whole) | (digits ^ low) << 8);
  const unsigned dropped = trailing < fraction ? trailing : fraction + 1;
  return out + 7 - dropped;
}

// The decimal digits of u at `out`, with no sign; returns their end.
char* put_decimal(char* out, std::uint32_t u) noexcept {
  // The digit count from the bit length: 2^(bits-1) <= u < 2^bits puts log10 u
  // within 0.302 below bits * log10 2, whose floor, `guess`, is so either the
  // count or one less: u >= 10^guess tells which. (bits * 1233) >> 12 is that
  // floor for 1 <= bits <= 32, since bits * log10 2 never lies within 2e-4
  // above an integer there. 0 counts as 1, one digit.
  const auto bits = static_cast<std::size_t>(32 - std::countl_zero(u | 1));
  const std::size_t guess = (bits * 1233) >> 12;
  char* const end = out + guess + ((u | 1) >= powers_of_ten[guess] ? 1 : 0);
  // Two digits at a time from the right; one or two are left for the first.
  char* at = end;
  while (u >= 100) {
    at -= 2;
    put_word<2>(at, digit_pairs[u % 100]);
    u /= 100;
  }
  if (u >= 10) {
    put_word<2>(out, digit_pairs[u]);
  } else {
    *out = static_cast<char>('0' + u);
  }
  return end;
}

// "%g" of `value` at `out`, which has number_room characters of room;
// returns the end of the text.
char* put_g(char* out, double value) noexcept {
  constexpr std::uint64_t sign = std::uint64_t{1} << 63;
  const auto bits = bit_cast<std::uint64_t>(value);
  const std::uint64_t magnitude = bits & ~sign;
  // Non-negative doubles are ordered as their bit patterns, so one unsigned
  // comparison tells fast_lowest <= |value| < fast_limit (a NaN's pattern
  // lies above every finite one).
  constexpr auto lowest = bit_cast<std::uint64_t>(fast_lowest);
  constexpr auto limit = bit_cast<std::uint64_t>(fast_limit);
  // A minus sign is written either way and kept only for a negative value.
  *out = '-';
  out += bits >> 63;
  char* end = nullptr;
  if (magnitude - lowest < limit - lowest) {
    end = fixed_g(out, magnitude);
  } else if (magnitude == 0) {
    // The initial vertical velocity of every horizontal launch.
    *out = '0';
    end = out + 1;
  } else {
    // to_chars in general form with a precision is specified as printf's
    // "%.6g" in the C locale: the same characters, whatever the locale. A
    // library without it for doubles (libc++ 13) gets "%.6g" itself, which
    // on this path, that no answer takes, may heed the locale.
    const auto rest = bit_cast<double>(magnitude);
#ifdef __cpp_lib_to_chars
    end = std::to_chars(out, out + number_room - 1, rest, std::chars_format::general, 6).ptr;
#else
    end = out + std::snprintf(out, number_room - 1, "%.6g", rest);
#endif
  }
  return end;
}

}  // namespace

void text::grow(std::size_t n) {
  // Doubling keeps appends amortised constant; a question and its answer fit
  // in the first allocation.
  chars_.resize(std::max({std::size_t{1024}, 2 * chars_.size(), size_ + n}));
}

void text::append_g(double value) {
  size_ = static_cast<std::size_t>(put_g(room(number_room), value) - chars_.data());
}

number_text text::format_g(double value) noexcept {
  number_text number{};  // all of it is copied, so all of it is set
  number.size = static_cast<std::size_t>(put_g(number.chars.data(), value) - number.chars.data());
  return number;
}

void text::append_i(int value) {
  char* out = room(number_room);
  auto u = static_cast<std::uint32_t>(value);
  if (value < 0) {
    *out++ = '-';
    u = 0U - u;  // the magnitude, INT_MIN's included, in unsigned arithmetic
  }
  size_ = static_cast<std::size_t>(put_decimal(out, u) - chars_.data());
}

void text::append_u(std::uint32_t value) {
  size_ = static_cast<std::size_t>(put_decimal(room(number_room), value) - chars_.data());
}

std::string decimal(std::uint32_t value) {
  text out;
  out.append_u(value);
  return std::string(out.view());
}

void text::append_hundredths(int hundredths, float value) {
  // Below 10^6, n / 100 has at most six significant digits, and a float
  // within one unit in the last place of it (2^-23 relative) is far nearer
  // than half a unit of the sixth digit (5e-7 relative at the least): "%g"
  // of the float prints n / 100 itself, trailing zeros dropped.
  if (hundredths < 0 || hundredths >= 1000000) {
    append_g(static_cast<double>(value));
    return;
  }
  const auto n = static_cast<std::uint32_t>(hundredths);
  char* end = put_decimal(room(number_room), n / 100);
  const std::uint32_t cents = n % 100;
  if (cents != 0) {
    // ".05", ".5" or ".25": the point, then one digit or two.
    *end = '.';
    put_word<2>(end + 1, digit_pairs[cents]);
    end += cents % 10 == 0 ? 2 : 3;
  }
  size_ = static_cast<std::size_t>(end - chars_.data());
}

}  // namespace projectile
