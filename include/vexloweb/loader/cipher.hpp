// The configuration cipher: checks the loader's key and IV text and runs one AES-CBC pass with
// PKCS#7 padding. The loader decrypts with it; `crypt(..., kCCEncrypt, ...)` seals new files.
// Each failure prints one line on standard output, in debug form (the message in double
// quotation marks). Stateless: call from any thread.
//
// Example:
//   auto keys = vexloweb::makeCipherKeys("0123456789abcdef0123456789abcdef", "0123456789abcdef");
//   auto sealed = vexloweb::crypt(plain, vexloweb::kCCEncrypt, keys->keyData, keys->ivData);
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "vexloweb/export.hpp"

namespace vexloweb {

using Bytes = std::vector<std::uint8_t>;

inline constexpr std::uint32_t kCCEncrypt = 0;
inline constexpr std::uint32_t kCCDecrypt = 1;

struct VEXLOWEB_EXPORT CipherKeys {
  Bytes keyData;  // the key text's UTF-8 bytes, as they stand (hex digits are not decoded)
  Bytes ivData;   // the IV text's UTF-8 bytes
};

// Checks the key (16 or 32 user-perceived characters, valid UTF-8), then the IV (16 characters,
// valid UTF-8), and returns their bytes. Otherwise prints "Error: Failed to set a key." or
// "Error: Failed to set an initial vector." (the key is checked first) and returns nothing.
// Note: a 32-character key that is not all ASCII passes here and fails in crypt().
VEXLOWEB_EXPORT std::optional<CipherKeys> makeCipherKeys(std::string_view key, std::string_view iv);

// One AES-CBC pass with PKCS#7 padding over `data` in the given direction. Absent data gives
// nothing, silently. On any cipher failure prints "Error: Failed to crypt data. Status <n>" with
// the platform::CCCrypt status (-4304 for bad padding, the usual sign of a wrong key or IV;
// -4303 for input that is not whole blocks; -4310 for a key of the wrong length; -4300 for an
// IV that is not 16 bytes) and returns nothing.
VEXLOWEB_EXPORT std::optional<Bytes> crypt(const std::optional<Bytes>& data,
                                           std::uint32_t operation, const Bytes& keyData,
                                           const Bytes& ivData);

}  // namespace vexloweb
