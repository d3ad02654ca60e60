#include <iostream>

#include "loader/cipher_steps.hpp"
#include "platform/text.hpp"

namespace vexloweb {

using namespace platform;

KeyCheck checkCipherKeys(std::string_view key, std::string_view iv) {
  const auto keyLength = graphemeCount(key);
  if (!keyLength) return {std::nullopt, kKeyMessage, "the key is not valid UTF-8"};
  if (*keyLength != 16 && *keyLength != 32) {
    return {std::nullopt, kKeyMessage,
            "the key has " + std::to_string(*keyLength) + " characters (it needs 16 or 32)"};
  }
  const auto ivLength = graphemeCount(iv);
  if (!ivLength) return {std::nullopt, kIvMessage, "the IV is not valid UTF-8"};
  if (*ivLength != 16) {
    return {std::nullopt, kIvMessage,
            "the IV has " + std::to_string(*ivLength) + " characters (it needs 16)"};
  }
  return {CipherKeys{Bytes(key.begin(), key.end()), Bytes(iv.begin(), iv.end())}, {}, {}};
}

template <class Buffer>
CCCryptorStatus runCipher(std::span<const std::uint8_t> input, std::uint32_t operation,
                          const Bytes& keyData, const Bytes& ivData, Buffer& output) {
  constexpr std::size_t kBlock = 16;
  output.clear();
  // CCCrypt reads sixteen IV bytes whatever the buffer holds: refuse a short one here.
  if (ivData.size() != kBlock) return kCCParamError;
  const std::size_t capacity = input.size() + kBlock;
  output.resize(capacity);
  std::size_t moved = 0;
  const CCCryptorStatus status =
      CCCrypt(operation, kCCAlgorithmAES, kCCOptionPKCS7Padding, keyData.data(), keyData.size(),
              ivData.data(), input.data(), input.size(), output.data(), capacity, &moved);
  output.resize(status == kCCSuccess ? moved : 0);
  return status;
}

template CCCryptorStatus runCipher<Bytes>(std::span<const std::uint8_t>, std::uint32_t,
                                          const Bytes&, const Bytes&, Bytes&);
template CCCryptorStatus runCipher<std::string>(std::span<const std::uint8_t>, std::uint32_t,
                                                const Bytes&, const Bytes&, std::string&);

CCCryptorStatus decryptInPlace(char* data, std::size_t size, const Bytes& keyData,
                               const Bytes& ivData, std::size_t* moved) {
  *moved = 0;
  if (ivData.size() != 16) return kCCParamError;
  return CCCrypt(kCCDecrypt, kCCAlgorithmAES, kCCOptionPKCS7Padding, keyData.data(), keyData.size(),
                 ivData.data(), data, size, data, size, moved);
}

std::string cryptFailureMessage(CCCryptorStatus status) {
  return "Error: Failed to crypt data. Status " + std::to_string(status);
}

std::string describeStatus(CCCryptorStatus status) {
  const std::string code = "status " + std::to_string(status) + ": ";
  switch (status) {
    case kCCDecodeError:
      return code + "the padding check failed: most likely a wrong key or IV, or a damaged file";
    case kCCAlignmentError:
      return code + "the cipher text is not whole 16-byte blocks: the file is cut short or damaged";
    case kCCKeySizeError:
      return code + "the key is not 16, 24 or 32 bytes (a key with non-ASCII characters?)";
    case kCCBufferTooSmall:
      return code + "the output buffer is too small";
    case kCCParamError:
      return code + "a parameter was refused (the IV must be 16 bytes)";
    default:
      return code + "the cipher failed";
  }
}

void printDebugLine(std::ostream& out, std::string_view message) {
  out << '"' << message << "\"\n" << std::flush;
}

std::optional<CipherKeys> makeCipherKeys(std::string_view key, std::string_view iv) {
  KeyCheck check = checkCipherKeys(key, iv);
  if (!check.keys) printDebugLine(std::cout, check.message);
  return std::move(check.keys);
}

std::optional<Bytes> crypt(const std::optional<Bytes>& data, std::uint32_t operation,
                           const Bytes& keyData, const Bytes& ivData) {
  if (!data) return std::nullopt;
  Bytes output;
  const CCCryptorStatus status = runCipher(*data, operation, keyData, ivData, output);
  if (status != kCCSuccess) {
    printDebugLine(std::cout, cryptFailureMessage(status));
    return std::nullopt;
  }
  return output;
}

}  // namespace vexloweb
