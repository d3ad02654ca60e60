// AES on Nettle: its CBC routines and AES-NI where the processor has it. Padding is ours.
#include "vexloweb/platform/cc_crypt.hpp"

#include <cstring>

#include <nettle/aes.h>
#include <nettle/cbc.h>
#include <nettle/memops.h>

namespace vexloweb::platform {
namespace {

constexpr std::size_t kBlock = AES_BLOCK_SIZE;
constexpr CCOperation kEncrypt = 0;
constexpr CCOperation kDecrypt = 1;

// Nettle's CBC takes the block function through a void* context.
void decrypt128(const void* ctx, std::size_t length, std::uint8_t* dst, const std::uint8_t* src) {
  aes128_decrypt(static_cast<const aes128_ctx*>(ctx), length, dst, src);
}
void decrypt192(const void* ctx, std::size_t length, std::uint8_t* dst, const std::uint8_t* src) {
  aes192_decrypt(static_cast<const aes192_ctx*>(ctx), length, dst, src);
}
void decrypt256(const void* ctx, std::size_t length, std::uint8_t* dst, const std::uint8_t* src) {
  aes256_decrypt(static_cast<const aes256_ctx*>(ctx), length, dst, src);
}

// One key schedule of any AES size, in the direction asked for.
class AesKey {
 public:
  bool set(CCOperation op, const std::uint8_t* key, std::size_t length) {
    encrypt_ = op == kEncrypt;
    length_ = length;
    switch (length) {
      case AES128_KEY_SIZE:
        encrypt_ ? aes128_set_encrypt_key(&ctx_.a128, key)
                 : aes128_set_decrypt_key(&ctx_.a128, key);
        return true;
      case AES192_KEY_SIZE:
        encrypt_ ? aes192_set_encrypt_key(&ctx_.a192, key)
                 : aes192_set_decrypt_key(&ctx_.a192, key);
        return true;
      case AES256_KEY_SIZE:
        encrypt_ ? aes256_set_encrypt_key(&ctx_.a256, key)
                 : aes256_set_decrypt_key(&ctx_.a256, key);
        return true;
      default:
        return false;
    }
  }
  ~AesKey() { std::memset(static_cast<void*>(&ctx_), 0, sizeof ctx_); }

  void cbc(std::uint8_t* iv, std::size_t length, std::uint8_t* out, const std::uint8_t* in) const {
    if (encrypt_) {
      switch (length_) {
        case AES128_KEY_SIZE:
          return cbc_aes128_encrypt(&ctx_.a128, iv, length, out, in);
        case AES192_KEY_SIZE:
          return cbc_aes192_encrypt(&ctx_.a192, iv, length, out, in);
        default:
          return cbc_aes256_encrypt(&ctx_.a256, iv, length, out, in);
      }
    }
    switch (length_) {
      case AES128_KEY_SIZE:
        return cbc_decrypt(&ctx_.a128, &decrypt128, kBlock, iv, length, out, in);
      case AES192_KEY_SIZE:
        return cbc_decrypt(&ctx_.a192, &decrypt192, kBlock, iv, length, out, in);
      default:
        return cbc_decrypt(&ctx_.a256, &decrypt256, kBlock, iv, length, out, in);
    }
  }

 private:
  union {
    aes128_ctx a128;
    aes192_ctx a192;
    aes256_ctx a256;
  } ctx_{};
  std::size_t length_ = 0;
  bool encrypt_ = true;
};

// The PKCS#7 pad length of a decrypted buffer, or 0 when the padding is not valid. Looks at every
// candidate byte whatever it finds, so the time does not depend on where a mismatch is.
std::size_t padLength(const std::uint8_t* data, std::size_t length) {
  const std::uint8_t pad = data[length - 1];
  unsigned bad = static_cast<unsigned>(pad == 0) | static_cast<unsigned>(pad > kBlock);
  for (std::size_t i = 1; i <= kBlock; ++i) {
    const auto inPad = static_cast<unsigned>(i <= pad);
    bad |= inPad & static_cast<unsigned>(data[length - i] != pad);
  }
  return bad != 0 ? 0 : pad;
}

}  // namespace

CCCryptorStatus CCCrypt(CCOperation op, CCAlgorithm alg, CCOptions options, const void* key,
                        std::size_t keyLength, const void* iv, const void* dataIn,
                        std::size_t dataInLength, void* dataOut, std::size_t dataOutAvailable,
                        std::size_t* dataOutMoved) {
  std::size_t ignored = 0;
  std::size_t* const moved = dataOutMoved != nullptr ? dataOutMoved : &ignored;
  *moved = 0;
  if ((op != kEncrypt && op != kDecrypt) || alg != kCCAlgorithmAES ||
      (options & ~kCCOptionPKCS7Padding) != 0 || key == nullptr ||
      (dataIn == nullptr && dataInLength > 0) || (dataOut == nullptr && dataOutAvailable > 0)) {
    return kCCParamError;
  }
  AesKey schedule;
  if (!schedule.set(op, static_cast<const std::uint8_t*>(key), keyLength)) return kCCKeySizeError;

  std::uint8_t chain[kBlock] = {};
  if (iv != nullptr) std::memcpy(chain, iv, kBlock);
  const bool padded = (options & kCCOptionPKCS7Padding) != 0;
  const auto* in = static_cast<const std::uint8_t*>(dataIn);
  auto* out = static_cast<std::uint8_t*>(dataOut);

  if (op == kEncrypt) {
    if (!padded && dataInLength % kBlock != 0) return kCCAlignmentError;
    const std::size_t whole = dataInLength - dataInLength % kBlock;
    const std::size_t total = padded ? whole + kBlock : whole;
    if (dataOutAvailable < total) {
      *moved = total;
      return kCCBufferTooSmall;
    }
    if (whole > 0) schedule.cbc(chain, whole, out, in);
    if (padded) {
      std::uint8_t last[kBlock];
      const std::size_t tail = dataInLength - whole;
      if (tail > 0) std::memcpy(last, in + whole, tail);
      std::memset(last + tail, static_cast<int>(kBlock - tail), kBlock - tail);
      schedule.cbc(chain, kBlock, out + whole, last);
    }
    *moved = total;
    return kCCSuccess;
  }

  if (dataInLength % kBlock != 0) return kCCAlignmentError;
  if (dataOutAvailable < dataInLength) {
    *moved = dataInLength;
    return kCCBufferTooSmall;
  }
  if (padded && dataInLength == 0) return kCCDecodeError;
  if (dataInLength > 0) schedule.cbc(chain, dataInLength, out, in);
  std::size_t pad = 0;
  if (padded) {
    pad = padLength(out, dataInLength);
    if (pad == 0) {
      std::memset(out, 0, dataInLength);
      return kCCDecodeError;
    }
  }
  *moved = dataInLength - pad;
  return kCCSuccess;
}

}  // namespace vexloweb::platform
