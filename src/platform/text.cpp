#include "platform/text.hpp"

#include <algorithm>

#include <utf8proc.h>

#include "platform/utf8.hpp"

namespace vexloweb::platform {
namespace {

bool isAsciiWhitespace(unsigned char c) { return c == ' ' || (c >= 0x09 && c <= 0x0D); }

// The length in bytes of the code point at `p` when it is whitespace, else 0.
std::size_t whitespaceLength(const char* p, std::size_t available) noexcept {
  const auto lead = static_cast<unsigned char>(*p);
  if (lead < 0x80) return isAsciiWhitespace(lead) ? 1 : 0;
  utf8proc_int32_t codePoint = 0;
  const auto length = utf8proc_iterate(reinterpret_cast<const utf8proc_uint8_t*>(p),
                                       static_cast<utf8proc_ssize_t>(available), &codePoint);
  if (length <= 0) return 0;
  return isWhitespaceOrNewline(static_cast<char32_t>(codePoint)) ? static_cast<std::size_t>(length)
                                                                 : 0;
}

}  // namespace

bool isWhitespaceOrNewline(char32_t codePoint) noexcept {
  if (codePoint < 0x80) return isAsciiWhitespace(static_cast<unsigned char>(codePoint));
  if (codePoint == 0x85) return true;
  if (codePoint > 0x10FFFF) return false;
  switch (utf8proc_category(static_cast<utf8proc_int32_t>(codePoint))) {
    case UTF8PROC_CATEGORY_ZS:
    case UTF8PROC_CATEGORY_ZL:
    case UTF8PROC_CATEGORY_ZP:
      return true;
    default:
      return false;
  }
}

std::size_t cleanTextInPlace(char* data, std::size_t size) noexcept {
  // Condense: the writer never passes the reader, so one buffer serves both.
  std::size_t out = 0;
  bool pendingSpace = false;
  for (std::size_t in = 0; in < size;) {
    if (const std::size_t skip = whitespaceLength(data + in, size - in); skip > 0) {
      pendingSpace = out > 0;
      in += skip;
      continue;
    }
    if (pendingSpace) {
      data[out++] = ' ';
      pendingSpace = false;
    }
    data[out++] = data[in++];
  }
  // Then drop the quotation marks (after condensing, so a quote between spaces leaves two).
  return static_cast<std::size_t>(std::remove(data, data + out, '"') - data);
}

std::string cleanText(std::string_view text) {
  std::string buffer(text);
  buffer.resize(cleanTextInPlace(buffer.data(), buffer.size()));
  return buffer;
}

std::optional<std::size_t> graphemeCount(std::string_view text) noexcept {
  if (!isValidUtf8(text)) return std::nullopt;
  const auto* bytes = reinterpret_cast<const utf8proc_uint8_t*>(text.data());
  auto remaining = static_cast<utf8proc_ssize_t>(text.size());
  std::size_t count = 0;
  utf8proc_int32_t previous = -1;
  utf8proc_int32_t state = 0;
  while (remaining > 0) {
    utf8proc_int32_t codePoint = 0;
    const auto length = utf8proc_iterate(bytes, remaining, &codePoint);
    if (length <= 0) return std::nullopt;
    if (previous < 0 || utf8proc_grapheme_break_stateful(previous, codePoint, &state)) ++count;
    previous = codePoint;
    bytes += length;
    remaining -= length;
  }
  return count;
}

}  // namespace vexloweb::platform
