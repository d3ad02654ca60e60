// The text clean-up and strict base64 against simple references written here, independent of
// utf8proc and of the table-driven decoder. Oracle: both give the same text, the same verdict and
// the same bytes.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fuzz_check.hpp"
#include "platform/base64.hpp"
#include "platform/text.hpp"
#include "platform/utf8.hpp"

namespace {

// Unicode's separators (Zs, Zl, Zp) and the line-break controls.
bool referenceWhitespace(char32_t c) {
  static constexpr char32_t kSpaces[] = {0x20,   0xA0,   0x1680, 0x2000, 0x2001, 0x2002, 0x2003,
                                         0x2004, 0x2005, 0x2006, 0x2007, 0x2008, 0x2009, 0x200A,
                                         0x2028, 0x2029, 0x202F, 0x205F, 0x3000, 0x85};
  if (c >= 0x09 && c <= 0x0D) return true;
  for (char32_t space : kSpaces) {
    if (c == space) return true;
  }
  return false;
}

// Splits valid UTF-8 into code points, each with its bytes.
std::vector<std::pair<char32_t, std::string>> codePoints(const std::string& text) {
  std::vector<std::pair<char32_t, std::string>> points;
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t c = length == 1 ? lead : lead & (0x3F >> (length - 1));
    for (std::size_t k = 1; k < length; ++k) c = (c << 6) | (text[i + k] & 0x3F);
    points.emplace_back(c, text.substr(i, length));
    i += length;
  }
  return points;
}

std::string referenceClean(const std::string& text) {
  std::vector<std::string> pieces(1);
  for (const auto& [c, bytes] : codePoints(text)) {
    if (referenceWhitespace(c)) {
      pieces.emplace_back();
    } else {
      pieces.back() += bytes;
    }
  }
  std::string joined;
  for (const auto& piece : pieces) {
    if (piece.empty()) continue;
    if (!joined.empty()) joined += ' ';
    joined += piece;
  }
  std::string clean;
  for (char c : joined) {
    if (c != '"') clean += c;
  }
  return clean;
}

std::optional<std::string> referenceBase64(const std::string& text) {
  static const std::string kAlphabet =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  if (text.size() % 4 != 0) return std::nullopt;
  std::string out;
  for (std::size_t i = 0; i < text.size(); i += 4) {
    const bool last = i + 4 == text.size();
    int pads = 0;
    std::uint32_t bits = 0;
    for (std::size_t k = 0; k < 4; ++k) {
      const char c = text[i + k];
      if (c == '=') {
        if (!last || k < 2) return std::nullopt;
        ++pads;
        bits <<= 6;
        continue;
      }
      if (pads > 0) return std::nullopt;  // a character after padding
      const auto index = kAlphabet.find(c);
      if (index == std::string::npos) return std::nullopt;
      bits = (bits << 6) | static_cast<std::uint32_t>(index);
    }
    out += static_cast<char>(bits >> 16);
    if (pads < 2) out += static_cast<char>((bits >> 8) & 0xFF);
    if (pads < 1) out += static_cast<char>(bits & 0xFF);
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  if (vexloweb::platform::isValidUtf8(text)) {
    FUZZ_CHECK(vexloweb::platform::cleanText(text) == referenceClean(text));
  }
  FUZZ_CHECK(vexloweb::platform::decodeBase64(text) == referenceBase64(text));
  return 0;
}
