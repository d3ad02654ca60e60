#include "platform/text.hpp"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#include <utf8proc.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// The length of the leading run of bytes that need no work: printable ASCII other than '"'.
// Sixteen bytes at a time with SSE2 (every x86-64 has it), then eight: the text is usually one
// long run of base64.
std::size_t plainRun(const char* data, std::size_t size) noexcept {
  constexpr std::uint64_t kOnes = 0x0101010101010101;
  constexpr std::uint64_t kHighs = 0x8080808080808080;
  std::size_t i = 0;
#if defined(__SSE2__)
  for (; i + 16 <= size; i += 16) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
    // Compared as signed bytes, 0x80 and above are below 0x21 too.
    const __m128i work =
        _mm_or_si128(_mm_cmplt_epi8(x, _mm_set1_epi8(0x21)), _mm_cmpeq_epi8(x, _mm_set1_epi8('"')));
    if (const auto mask = static_cast<unsigned>(_mm_movemask_epi8(work)); mask != 0) {
      return i + static_cast<std::size_t>(std::countr_zero(mask));
    }
  }
#endif
  for (; i + 8 <= size; i += 8) {
    std::uint64_t x = 0;
    std::memcpy(&x, data + i, 8);
    const std::uint64_t belowBang = (x - kOnes * 0x21) & ~x & kHighs;  // a byte < 0x21
    const std::uint64_t quotes = x ^ (kOnes * '"');
    const std::uint64_t quote = (quotes - kOnes) & ~quotes & kHighs;  // a byte == '"'
    if ((belowBang | quote | (x & kHighs)) != 0) break;
  }
  while (i < size) {
    const auto c = static_cast<unsigned char>(data[i]);
    if (c < 0x21 || c == '"' || c >= 0x80) break;
    ++i;
  }
  return i;
}

bool isLineBreak(const char* p, std::size_t length) noexcept {
  const std::string_view c(p, length);
  return c == "\n" || c == "\r" || c == "\xC2\x85" || c == "\xE2\x80\xA8" || c == "\xE2\x80\xA9";
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

std::size_t cleanTextInPlace(char* data, std::size_t size, FirstSpace* first) noexcept {
  // Condense: the writer never passes the reader, so one buffer serves both. Quotation marks
  // count as text here and go afterwards, so a quote between two spaces leaves both.
  std::size_t out = 0;
  bool pendingSpace = false;
  bool sawQuote = false;
  std::size_t firstRunOut = 0;  // the clean length where the first space goes, once known
  for (std::size_t in = 0; in < size;) {
    std::size_t length = plainRun(data + in, size - in);
    if (length == 0) {
      if (const std::size_t skip = whitespaceLength(data + in, size - in); skip > 0) {
        // Whitespace is rare in a sealed file, so noting it costs the common case nothing.
        if (first != nullptr && out > 0 && (firstRunOut == 0 || firstRunOut == out)) {
          if (firstRunOut == 0) first->offset = in;
          firstRunOut = out;  // text ends each run, so the first run is the one at this length
          first->lineBreak = first->lineBreak || isLineBreak(data + in, skip);
        }
        pendingSpace = out > 0;
        in += skip;
        continue;
      }
      sawQuote = sawQuote || data[in] == '"';
      length = 1;
    }
    if (pendingSpace) {
      data[out++] = ' ';
      pendingSpace = false;
    }
    if (out != in) std::memmove(data + out, data + in, length);
    out += length;
    in += length;
  }
  if (!sawQuote) return out;
  return static_cast<std::size_t>(std::remove(data, data + out, '"') - data);
}

std::string cleanText(std::string_view text) {
  std::string buffer(text);
  buffer.resize(cleanTextInPlace(buffer.data(), buffer.size()));
  return buffer;
}

std::optional<std::size_t> graphemeCount(std::string_view text) noexcept {
  // ASCII (every key and IV in practice): one character a byte, but CR LF is one character.
  if (std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; })) {
    std::size_t count = text.size();
    for (std::size_t i = 1; i < text.size(); ++i) count -= text[i - 1] == '\r' && text[i] == '\n';
    return count;
  }
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
