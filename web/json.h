// The page's replies: one JSON object each, written a member at a time onto
// the end of a string.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace projectile {

class json_object {
 public:
  explicit json_object(std::string& out) : out_(out) { out_ += '{'; }

  json_object& text(std::string_view name, std::string_view value);
  json_object& number(std::string_view name, std::uint32_t value);
  json_object& flag(std::string_view name, bool value);
  // An array member: `each(i)` writes element i onto the same string, with
  // quote() or a json_object of its own.
  template <class Each>
  json_object& list(std::string_view name, std::size_t size, Each each) {
    key(name);
    out_ += '[';
    for (std::size_t i = 0; i < size; ++i) {
      out_ += i == 0 ? "" : ",";
      each(i);
    }
    out_ += ']';
    return *this;
  }
  void done() { out_ += '}'; }

  // A JSON string of `value`, UTF-8 as it is, on the end of `out`.
  static void quote(std::string& out, std::string_view value);

 private:
  void key(std::string_view name);

  std::string& out_;
  bool first_ = true;
};

}  // namespace projectile
