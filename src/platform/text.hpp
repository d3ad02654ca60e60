// Internal: the Unicode text rules the loader relies on, from utf8proc: the whitespace-and-newline
// set (categories Zs, Zl, Zp, U+0009-U+000D and U+0085) and user-perceived character counts.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vexloweb::platform {

bool isWhitespaceOrNewline(char32_t codePoint) noexcept;

// Where the first run of whitespace that cleaning turns into a space began in the original text,
// and whether it held a line break (U+000A, U+000D, U+0085, U+2028, U+2029): a message can then
// call a wrapped file's break a line break.
struct FirstSpace {
  std::size_t offset = std::string_view::npos;  // npos: the clean text has no space
  bool lineBreak = false;
};

// Splits valid UTF-8 text at every whitespace-or-newline character, drops the empty pieces and
// joins the rest with one space; then removes every '"'. Works in place on data[0, size) and
// returns the new size (never larger). Notes the first space's origin in *first when given.
std::size_t cleanTextInPlace(char* data, std::size_t size, FirstSpace* first = nullptr) noexcept;
std::string cleanText(std::string_view text);

// The number of extended grapheme clusters in `text`, or nothing when it is not valid UTF-8.
std::optional<std::size_t> graphemeCount(std::string_view text) noexcept;

}  // namespace vexloweb::platform
