#include "json.h"

#include "text.h"

namespace projectile {

json_object& json_object::text(std::string_view name, std::string_view value) {
  key(name);
  quote(out_, value);
  return *this;
}

json_object& json_object::number(std::string_view name, std::uint32_t value) {
  key(name);
  out_ += decimal(value);
  return *this;
}

json_object& json_object::flag(std::string_view name, bool value) {
  key(name);
  out_ += value ? "true" : "false";
  return *this;
}

void json_object::key(std::string_view name) {
  out_ += first_ ? "" : ",";
  first_ = false;
  quote(out_, name);
  out_ += ':';
}

void json_object::quote(std::string& out, std::string_view value) {
  out += '"';
  // Runs of plain characters go in whole; each escaped one between them.
  std::size_t plain = 0;
  for (std::size_t i = 0; i < value.size(); ++i) {
    const auto c = static_cast<unsigned char>(value[i]);
    if (c != '"' && c != '\\' && c >= 0x20) {
      continue;
    }
    out.append(value.data() + plain, i - plain);
    plain = i + 1;
    if (c >= 0x20) {
      out += '\\';
      out += static_cast<char>(c);
    } else {
      constexpr std::string_view hex = "0123456789abcdef";
      out += "\\u00";
      out += hex[c >> 4U];
      out += hex[c & 0xFU];
    }
  }
  out.append(value.data() + plain, value.size() - plain);
  out += '"';
}

}  // namespace projectile
