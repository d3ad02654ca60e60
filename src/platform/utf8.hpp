// Internal: UTF-8 validation for every place where bytes become text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vexloweb::platform {

// True when `bytes` is well-formed UTF-8 (no overlongs, surrogates or values past U+10FFFF).
bool isValidUtf8(std::string_view bytes) noexcept;

// The offset of the first byte that is not part of a well-formed UTF-8 sequence, or npos.
std::size_t invalidUtf8Offset(std::string_view bytes) noexcept;

// "not valid UTF-8 (the first bad byte is at offset N)"
std::string notUtf8(std::string_view bytes);

}  // namespace vexloweb::platform
