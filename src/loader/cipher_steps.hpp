// Internal: the cipher's steps without the printing, so that the load pipeline can report why a
// step failed and decide where its lines go. cipher.cpp's public functions are built on these.
#pragma once

#include <cstdint>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "vexloweb/loader/cipher.hpp"
#include "vexloweb/platform/cc_crypt.hpp"

namespace vexloweb {

inline constexpr std::string_view kKeyMessage = "Error: Failed to set a key.";
inline constexpr std::string_view kIvMessage = "Error: Failed to set an initial vector.";

struct KeyCheck {
  std::optional<CipherKeys> keys;
  std::string_view message;  // the line to print when refused
  std::string reason;        // why, for a report
};
KeyCheck checkCipherKeys(std::string_view key, std::string_view iv);

// Runs platform::CCCrypt over `input` into `output` (resized to the bytes produced). Returns the
// status.
template <class Buffer>
platform::CCCryptorStatus runCipher(std::span<const std::uint8_t> input, std::uint32_t operation,
                                    const Bytes& keyData, const Bytes& ivData, Buffer& output);

// Decrypts data[0, size) in place (AES-CBC with PKCS#7 padding, as runCipher does) and sets
// *moved to the plain text's length. Saves the loader a buffer as large as the cipher text.
platform::CCCryptorStatus decryptInPlace(char* data, std::size_t size, const Bytes& keyData,
                                         const Bytes& ivData, std::size_t* moved);

// "Error: Failed to crypt data. Status -4304"
std::string cryptFailureMessage(platform::CCCryptorStatus status);
// What a status usually means, for a person: "bad padding: most likely a wrong key or IV".
std::string describeStatus(platform::CCCryptorStatus status);

// Writes `message` in debug form (inside double quotation marks), a line break, and flushes.
void printDebugLine(std::ostream& out, std::string_view message);

}  // namespace vexloweb
