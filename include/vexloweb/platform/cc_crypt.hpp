// CCCrypt: one-shot AES with CommonCrypto's argument list and status codes, so that the cipher
// code reads like the platform it was written for. AES (128/192/256-bit keys) in CBC mode, with
// optional PKCS#7 padding. Stateless and reentrant: call from any thread.
#pragma once

#include <cstddef>
#include <cstdint>

#include "vexloweb/export.hpp"

namespace vexloweb::platform {

using CCOperation = std::uint32_t;  // 0 encrypt, 1 decrypt (vexloweb::kCCEncrypt, kCCDecrypt)
using CCAlgorithm = std::uint32_t;
using CCOptions = std::uint32_t;
using CCCryptorStatus = std::int32_t;

inline constexpr CCAlgorithm kCCAlgorithmAES = 0;
inline constexpr CCOptions kCCOptionPKCS7Padding = 1;
inline constexpr CCOptions kCCOptionECBMode = 2;  // not supported: refused with kCCParamError

inline constexpr CCCryptorStatus kCCSuccess = 0;
inline constexpr CCCryptorStatus kCCParamError = -4300;
inline constexpr CCCryptorStatus kCCBufferTooSmall = -4301;
inline constexpr CCCryptorStatus kCCMemoryFailure = -4302;
inline constexpr CCCryptorStatus kCCAlignmentError = -4303;
inline constexpr CCCryptorStatus kCCDecodeError = -4304;
inline constexpr CCCryptorStatus kCCUnspecifiedError = -4308;
inline constexpr CCCryptorStatus kCCKeySizeError = -4310;

// Encrypts or decrypts dataInLength bytes of dataIn into dataOut and sets *dataOutMoved (when not
// null) to the bytes written. dataOut may be dataIn (in-place work). `iv` is 16 bytes, or null for
// sixteen zero bytes. Returns kCCSuccess, or:
//   kCCParamError      an unknown operation or algorithm, ECB mode, or a null pointer with data;
//   kCCKeySizeError    keyLength is not 16, 24 or 32;
//   kCCAlignmentError  the input is not whole 16-byte blocks (decryption, or no padding);
//   kCCBufferTooSmall  dataOutAvailable is too small (*dataOutMoved then says what is needed);
//   kCCDecodeError     decryption found no valid PKCS#7 padding (usually a wrong key or IV; an
//                      empty input has none either). dataOut is zeroed.
VEXLOWEB_EXPORT CCCryptorStatus CCCrypt(CCOperation op, CCAlgorithm alg, CCOptions options,
                                        const void* key, std::size_t keyLength, const void* iv,
                                        const void* dataIn, std::size_t dataInLength, void* dataOut,
                                        std::size_t dataOutAvailable, std::size_t* dataOutMoved);

}  // namespace vexloweb::platform
