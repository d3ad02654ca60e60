// Internal: the Unicode text rules the loader relies on, from utf8proc: the whitespace-and-newline
// set (categories Zs, Zl, Zp, U+0009-U+000D and U+0085) and user-perceived character counts.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vexloweb::platform {

bool isWhitespaceOrNewline(char32_t codePoint) noexcept;

// Splits valid UTF-8 text at every whitespace-or-newline character, drops the empty pieces and
// joins the rest with one space; then removes every '"'. Works in place on data[0, size) and
// returns the new size (never larger).
std::size_t cleanTextInPlace(char* data, std::size_t size) noexcept;
std::string cleanText(std::string_view text);

// The number of extended grapheme clusters in `text`, or nothing when it is not valid UTF-8.
std::optional<std::size_t> graphemeCount(std::string_view text) noexcept;

}  // namespace vexloweb::platform
