// A little JSON writing for the shell's --dump-ui: quoted strings and nothing else.
#pragma once

#include <string>
#include <string_view>

namespace vexloweb::shell {

// `text` as a JSON string, quotes included; control characters escaped.
inline std::string jsonString(std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20) {
      out += "\\u00";
      out += kHex[byte >> 4];
      out += kHex[byte & 0xF];
    } else {
      out += c;
    }
  }
  return out + "\"";
}

}  // namespace vexloweb::shell
