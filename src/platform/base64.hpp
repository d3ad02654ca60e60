// Internal: strict base64 (RFC 4648 standard alphabet, "=" padding, length a multiple of 4).
// Any other character, a space or line break included, is a fault; empty text decodes to empty
// bytes. One table-driven pass validates and decodes together.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vexloweb::platform {

struct Base64Fault {
  std::size_t offset;  // of the first character at fault, or of the end for a bad length
  std::string reason;  // "a line break at offset 76 is not base64 (...)"
};

// Decodes data[0, size) into the start of the same buffer; sets *decodedSize on success. On a
// fault, the bytes from the fault's offset on are as they were.
std::optional<Base64Fault> decodeBase64InPlace(char* data, std::size_t size,
                                               std::size_t* decodedSize);

// Decodes `text` into a new string, or nothing (with *fault set when given).
std::optional<std::string> decodeBase64(std::string_view text, Base64Fault* fault = nullptr);

// Standard base64 with padding, one unbroken line.
std::string encodeBase64(std::string_view bytes);

}  // namespace vexloweb::platform
