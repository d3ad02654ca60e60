// Internal: the loader's fixed key and IV. Used as text: the hex digits are not decoded, so the
// key's 32 ASCII bytes make an AES-256 key and the IV's 16 bytes the IV.
#pragma once

#include <string_view>

namespace vexloweb {

inline constexpr std::string_view kLoaderKey = "7b1e40c9a3f85d26e0b94c1f3a7d2e58";
inline constexpr std::string_view kLoaderIv = "c30f8a61d2b4e975";

}  // namespace vexloweb
