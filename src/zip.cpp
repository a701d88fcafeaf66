#include "zip.h"

#include <array>

namespace projectile {

namespace {

// Slicing by 8: table k holds the CRC of a byte followed by k zero bytes,
// so eight bytes are folded in at once by eight look-ups, not one at a time.
constexpr std::array<std::array<std::uint32_t, 256>, 8> crc_tables = [] {
  std::array<std::array<std::uint32_t, 256>, 8> tables{};
  for (std::uint32_t n = 0; n < 256; ++n) {
    std::uint32_t c = n;
    for (int k = 0; k < 8; ++k) {
      c = (c & 1U) != 0 ? 0xEDB88320U ^ (c >> 1U) : c >> 1U;
    }
    tables[0][n] = c;
  }
  for (std::size_t k = 1; k < 8; ++k) {
    for (std::size_t n = 0; n < 256; ++n) {
      const std::uint32_t previous = tables[k - 1][n];
      tables[k][n] = tables[0][previous & 0xFFU] ^ (previous >> 8U);
    }
  }
  return tables;
}();

// Little-endian fields, as zip has them.
void put16(std::string& out, std::uint32_t v) {
  out += static_cast<char>(v & 0xFFU);
  out += static_cast<char>((v >> 8U) & 0xFFU);
}
void put32(std::string& out, std::uint32_t v) {
  put16(out, v & 0xFFFFU);
  put16(out, v >> 16U);
}

// Every file is dated 1980-01-01 00:00, the first time MS-DOS dates hold, so
// that the archive does not depend on when it is made.
constexpr std::uint32_t dos_time = 0;
constexpr std::uint32_t dos_date = (1U << 5U) | 1U;  // years since 1980 (0) << 9, month << 5, day
// Version 1.0 of the format suffices for stored files.
constexpr std::uint32_t version_needed = 10;

// The fields a file's local header and its central directory entry share,
// from the version needed to the length of the extra field.
void put_common(std::string& out, std::uint32_t crc, std::uint32_t size, std::string_view name) {
  put16(out, version_needed);
  put16(out, 0);  // flags
  put16(out, 0);  // stored
  put16(out, dos_time);
  put16(out, dos_date);
  put32(out, crc);
  put32(out, size);  // compressed
  put32(out, size);
  put16(out, static_cast<std::uint32_t>(name.size()));
  put16(out, 0);  // no extra field
}

}  // namespace

std::uint32_t crc32(std::string_view bytes, std::uint32_t before) noexcept {
  const auto byte = [&](std::size_t i) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i]));
  };
  std::uint32_t c = ~before;
  std::size_t i = 0;
  for (; i + 8 <= bytes.size(); i += 8) {
    const std::uint32_t low =
        c ^ (byte(i) | byte(i + 1) << 8U | byte(i + 2) << 16U | byte(i + 3) << 24U);
    c = crc_tables[7][low & 0xFFU] ^ crc_tables[6][(low >> 8U) & 0xFFU] ^
        crc_tables[5][(low >> 16U) & 0xFFU] ^ crc_tables[4][low >> 24U] ^
        crc_tables[3][byte(i + 4)] ^ crc_tables[2][byte(i + 5)] ^ crc_tables[1][byte(i + 6)] ^
        crc_tables[0][byte(i + 7)];
  }
  for (; i < bytes.size(); ++i) {
    c = crc_tables[0][(c ^ byte(i)) & 0xFFU] ^ (c >> 8U);
  }
  return ~c;
}

bool zip_writer::add_header(std::string_view name, std::uint32_t crc, std::uint64_t size) {
  constexpr std::uint64_t header_size = 30;
  if (!zip_fits(entries_.size() + 1, name.size(), written_ + header_size + name.size() + size)) {
    refused_ = true;
    return false;
  }
  entries_.push_back({std::string(name), crc, static_cast<std::uint32_t>(size),
                      static_cast<std::uint32_t>(written_)});
  std::string header;
  put32(header, 0x04034B50U);
  put_common(header, crc, static_cast<std::uint32_t>(size), name);
  header += name;
  written_ += header.size() + size;
  return write_(header);
}

bool zip_writer::add(std::string_view name, std::string_view contents) {
  return add_header(name, crc32(contents), contents.size()) &&
         (contents.empty() || write_(contents));
}

bool zip_writer::add_made(std::string_view name, const file_maker& make) {
  std::uint32_t crc = 0;
  std::uint64_t size = 0;
  // Past what an entry can hold, there is no use going on.
  const bool made = make([&](std::string_view block) {
    size += block.size();
    if (size > most_zip_bytes) {
      return false;
    }
    crc = crc32(block, crc);
    return true;
  });
  if (!made && size > most_zip_bytes) {
    refused_ = true;
    return false;
  }
  return add_header(name, crc, size) && make(write_);
}

bool zip_writer::finish() {
  std::string directory;
  for (const entry& e : entries_) {
    put32(directory, 0x02014B50U);
    put16(directory, version_needed);  // made by: MS-DOS, version 1.0
    put_common(directory, e.crc, e.size, e.name);
    put16(directory, 0);  // no comment
    put16(directory, 0);  // disk
    put16(directory, 0);  // internal attributes
    put32(directory, 0);  // external attributes
    put32(directory, e.offset);
    directory += e.name;
  }
  // The directory's end record gives its own size and offset in 32 bits.
  if (!zip_fits(entries_.size(), 0, written_ + directory.size())) {
    refused_ = true;
    return false;
  }
  const auto count = static_cast<std::uint32_t>(entries_.size());
  const auto directory_size = static_cast<std::uint32_t>(directory.size());
  put32(directory, 0x06054B50U);
  put16(directory, 0);  // this disk
  put16(directory, 0);  // the directory's disk
  put16(directory, count);
  put16(directory, count);
  put32(directory, directory_size);
  put32(directory, static_cast<std::uint32_t>(written_));
  put16(directory, 0);  // no comment
  return write_(directory);
}

}  // namespace projectile
