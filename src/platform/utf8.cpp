#include "platform/utf8.hpp"

#include <simdjson.h>

#include <cstdint>
#include <cstring>

namespace vexloweb::platform {

namespace {

// True when every byte is ASCII, eight at a time. Sealed files are base64, so this settles the
// usual case without waking the vectorised validator (whose first call costs microseconds).
bool isAscii(std::string_view bytes) noexcept {
  constexpr std::uint64_t kHighs = 0x8080808080808080;
  std::uint64_t seen = 0;
  std::size_t i = 0;
  for (; i + 8 <= bytes.size(); i += 8) {
    std::uint64_t word = 0;
    std::memcpy(&word, bytes.data() + i, 8);
    seen |= word;
  }
  for (; i < bytes.size(); ++i) seen |= static_cast<unsigned char>(bytes[i]);
  return (seen & kHighs) == 0;
}

constexpr std::size_t kSmall = 1 << 16;

}  // namespace

bool isValidUtf8(std::string_view bytes) noexcept {
  if (bytes.size() <= kSmall && isAscii(bytes)) return true;
  return simdjson::validate_utf8(bytes.data(), bytes.size());
}

std::size_t invalidUtf8Offset(std::string_view bytes) noexcept {
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t size = bytes.size();
  std::size_t i = 0;
  while (i < size) {
    const unsigned char lead = data[i];
    std::size_t length = 0;
    unsigned char low = 0x80;  // bounds of the second byte, which exclude overlongs and surrogates
    unsigned char high = 0xBF;
    if (lead < 0x80) {
      ++i;
      continue;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    } else {
      return i;
    }
    if (i + length > size) return i;
    if (data[i + 1] < low || data[i + 1] > high) return i;
    for (std::size_t k = 2; k < length; ++k) {
      if (data[i + k] < 0x80 || data[i + k] > 0xBF) return i;
    }
    i += length;
  }
  return std::string_view::npos;
}

std::string notUtf8(std::string_view bytes) {
  return "not valid UTF-8 (the first bad byte is at offset " +
         std::to_string(invalidUtf8Offset(bytes)) + ")";
}

}  // namespace vexloweb::platform
