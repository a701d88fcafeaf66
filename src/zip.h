// A zip archive, written as it is made: each file stored whole (no
// compression) with its CRC-32, all at one fixed time, in the order they are
// added, so that the same files give the same bytes on every platform.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "blocks.h"

namespace projectile {

// The CRC-32 of zip, gzip and PNG (polynomial 0xEDB88320, reflected), of
// `bytes` following the bytes whose CRC is `before`.
std::uint32_t crc32(std::string_view bytes, std::uint32_t before = 0) noexcept;

// What a zip without its 64-bit extension holds: a 16-bit count of entries,
// 16-bit name lengths, and 32-bit sizes and offsets.
inline constexpr std::uint64_t most_zip_entries = 0xFFFF;
inline constexpr std::uint64_t most_zip_name = 0xFFFF;
inline constexpr std::uint64_t most_zip_bytes = 0xFFFFFFFF;

// Whether an archive of `entries` entries, the last named with `name_length`
// bytes, whose bytes up to the end of that entry would be `bytes`, fits.
constexpr bool zip_fits(std::uint64_t entries, std::uint64_t name_length,
                        std::uint64_t bytes) noexcept {
  return entries <= most_zip_entries && name_length <= most_zip_name && bytes <= most_zip_bytes;
}

// A file made a block at a time, handed to the sink it is given; false when
// the sink refused a block.
using file_maker = std::function<bool(const block_sink&)>;

class zip_writer {
 public:
  // `write` is kept by reference: it must outlive the writer.
  explicit zip_writer(const block_sink& write) : write_(write) {}

  // One file, under `name` (a relative path with '/' between folders).
  // False as soon as a write fails, or when the file would take the archive
  // past what zip_fits allows: then nothing of it is written, and
  // refused() says so.
  bool add(std::string_view name, std::string_view contents);
  // One file made twice by `make`, the same both times: once to learn its
  // size and CRC, which its header gives first, then to write it. So no file
  // need be held whole, however large.
  bool add_made(std::string_view name, const file_maker& make);
  // The central directory that ends the archive; false when a write fails,
  // or when the directory itself would not fit.
  bool finish();

  [[nodiscard]] bool refused() const noexcept { return refused_; }

 private:
  bool add_header(std::string_view name, std::uint32_t crc, std::uint64_t size);

  struct entry {
    std::string name;
    std::uint32_t crc;
    std::uint32_t size;
    std::uint32_t offset;
  };

  const block_sink& write_;
  std::vector<entry> entries_;
  std::uint64_t written_ = 0;
  bool refused_ = false;
};

}  // namespace projectile
