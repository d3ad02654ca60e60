#include "platform/base64.hpp"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#elif defined(__aarch64__)
#include <arm_neon.h>
#endif

namespace vexloweb::platform {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::int8_t kInvalid = -1;
constexpr std::int8_t kPad = -2;

constexpr std::array<std::int8_t, 256> kDecode = [] {
  std::array<std::int8_t, 256> table{};
  table.fill(kInvalid);
  for (int i = 0; i < 64; ++i) table[static_cast<unsigned char>(kAlphabet[i])] = std::int8_t(i);
  table['='] = kPad;
  return table;
}();

// Each character's six bits already shifted to their place in a group's 24 bits, so that a group
// decodes with four loads and three ORs; kBad (bit 24) marks characters outside the alphabet.
constexpr std::uint32_t kBad = 1U << 24;
static_assert(std::endian::native == std::endian::little, "the eight-byte store assumes it");
using ShiftedTable = std::array<std::uint32_t, 256>;
constexpr ShiftedTable shifted(int shift) {
  ShiftedTable table{};
  for (std::size_t c = 0; c < 256; ++c) {
    table[c] = kDecode[c] >= 0 ? static_cast<std::uint32_t>(kDecode[c]) << shift : kBad;
  }
  return table;
}
constexpr ShiftedTable kShift18 = shifted(18);
constexpr ShiftedTable kShift12 = shifted(12);
constexpr ShiftedTable kShift6 = shifted(6);
constexpr ShiftedTable kShift0 = shifted(0);

// The body's fast path: blocks of alphabet characters decoded by vector instructions (32
// characters at a time with AVX2, then 16 with SSSE3, or 64 with NEON), up to the first block
// that holds any other character, padding included, which the scalar loops then take. A block
// is read whole before its bytes are written, at or behind it, so decoding in place is safe.
// Advances in and out.
#if defined(__x86_64__)
// Muła's decoder: each character's low and high nibble pick bit masks whose AND is non-zero
// only outside the alphabet; the high nibble (and '/') picks the offset to its value. Then four
// six-bit values become 24 bits per 32-bit lane, and each lane's three bytes go in order to the
// front of its 16. The same tables serve both 128-bit halves of AVX2.
alignas(16) constexpr std::int8_t kOutsideLow[16] = {
    0x15, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x13, 0x1A, 0x1B, 0x1B, 0x1B, 0x1A};
alignas(16) constexpr std::int8_t kOutsideHigh[16] = {
    0x10, 0x10, 0x01, 0x02, 0x04, 0x08, 0x04, 0x08, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10};
alignas(16) constexpr std::int8_t kOffset[16] = {0, 16, 19, 4, -65, -65, -71, -71,
                                                 0, 0,  0,  0, 0,   0,   0,   0};
alignas(16) constexpr std::int8_t kPack[16] = {2, 1,  0,  6,  5,  4,  10, 9,
                                               8, 14, 13, 12, -1, -1, -1, -1};

__attribute__((target("avx2"))) __m256i table256(const std::int8_t (&table)[16]) {
  return _mm256_broadcastsi128_si256(_mm_load_si128(reinterpret_cast<const __m128i*>(table)));
}

__attribute__((target("avx2"))) void decodeBlocksAvx2(char* data, std::size_t size, std::size_t& in,
                                                      std::size_t& out) {
  const __m256i outsideLow = table256(kOutsideLow);
  const __m256i outsideHigh = table256(kOutsideHigh);
  const __m256i offset = table256(kOffset);
  const __m256i pack = table256(kPack);
  const __m256i nibble = _mm256_set1_epi8(0x0F);
  while (in + 32 <= size) {
    const __m256i text = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + in));
    const __m256i high = _mm256_and_si256(_mm256_srli_epi32(text, 4), nibble);
    const __m256i outside =
        _mm256_and_si256(_mm256_shuffle_epi8(outsideLow, _mm256_and_si256(text, nibble)),
                         _mm256_shuffle_epi8(outsideHigh, high));
    if (_mm256_testz_si256(outside, outside) == 0) return;
    const __m256i slash = _mm256_cmpeq_epi8(text, _mm256_set1_epi8('/'));
    const __m256i values =
        _mm256_add_epi8(text, _mm256_shuffle_epi8(offset, _mm256_add_epi8(slash, high)));
    const __m256i pairs = _mm256_maddubs_epi16(values, _mm256_set1_epi32(0x01400140));
    const __m256i groups = _mm256_madd_epi16(pairs, _mm256_set1_epi32(0x00011000));
    // Each half's twelve bytes, then the two side by side.
    const __m256i bytes = _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(groups, pack),
                                                      _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 3, 7));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(data + out), bytes);  // 24 bytes, 8 scratch
    in += 32;
    out += 24;
  }
}

__attribute__((target("ssse3"))) void decodeBlocksSsse3(char* data, std::size_t size,
                                                        std::size_t& in, std::size_t& out) {
  const auto table = [](const std::int8_t(&bytes)[16]) {
    return _mm_load_si128(reinterpret_cast<const __m128i*>(bytes));
  };
  const __m128i nibble = _mm_set1_epi8(0x0F);
  while (in + 16 <= size) {
    const __m128i text = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + in));
    const __m128i high = _mm_and_si128(_mm_srli_epi32(text, 4), nibble);
    const __m128i outside =
        _mm_and_si128(_mm_shuffle_epi8(table(kOutsideLow), _mm_and_si128(text, nibble)),
                      _mm_shuffle_epi8(table(kOutsideHigh), high));
    if (_mm_movemask_epi8(_mm_cmpeq_epi8(outside, _mm_setzero_si128())) != 0xFFFF) return;
    const __m128i slash = _mm_cmpeq_epi8(text, _mm_set1_epi8('/'));
    const __m128i values =
        _mm_add_epi8(text, _mm_shuffle_epi8(table(kOffset), _mm_add_epi8(slash, high)));
    const __m128i pairs = _mm_maddubs_epi16(values, _mm_set1_epi32(0x01400140));
    const __m128i groups = _mm_madd_epi16(pairs, _mm_set1_epi32(0x00011000));
    const __m128i bytes = _mm_shuffle_epi8(groups, table(kPack));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(data + out), bytes);  // 12 bytes and 4 scratch
    in += 16;
    out += 12;
  }
}

// x86-64's baseline has neither extension, and hosts build for the baseline: each is used when
// the processor (and, for AVX2, the operating system) supports it. AVX2 takes the bulk, SSSE3 a
// last block of 16.
void decodeVectorBlocks(char* data, std::size_t size, std::size_t& in, std::size_t& out) {
  static const bool avx2 = __builtin_cpu_supports("avx2");
  static const bool ssse3 = __builtin_cpu_supports("ssse3");
  if (avx2) decodeBlocksAvx2(data, size, in, out);
  if (ssse3) decodeBlocksSsse3(data, size, in, out);
}
#elif defined(__aarch64__)
// Each ASCII character's value plus one; 0 for a character outside the alphabet.
constexpr std::array<std::uint8_t, 128> kValuePlusOne = [] {
  std::array<std::uint8_t, 128> table{};
  for (int i = 0; i < 64; ++i)
    table[static_cast<unsigned char>(kAlphabet[i])] = std::uint8_t(i + 1);
  return table;
}();

void decodeVectorBlocks(char* data, std::size_t size, std::size_t& in, std::size_t& out) {
  const uint8x16x4_t low = vld1q_u8_x4(kValuePlusOne.data());
  const uint8x16x4_t high = vld1q_u8_x4(kValuePlusOne.data() + 64);
  auto* bytes = reinterpret_cast<std::uint8_t*>(data);
  while (in + 64 <= size) {
    uint8x16x4_t text = vld4q_u8(bytes + in);  // the first, second, third, fourth of each group
    uint8x16_t least = vdupq_n_u8(0xFF);
    for (uint8x16_t& lane : text.val) {
      // Out-of-range indexes give 0: 128 and above, and below 64 in the high half.
      lane = vorrq_u8(vqtbl4q_u8(low, lane), vqtbl4q_u8(high, vsubq_u8(lane, vdupq_n_u8(64))));
      least = vminq_u8(least, lane);
      lane = vsubq_u8(lane, vdupq_n_u8(1));
    }
    if (vminvq_u8(least) == 0) return;
    uint8x16x3_t decoded;
    decoded.val[0] = vorrq_u8(vshlq_n_u8(text.val[0], 2), vshrq_n_u8(text.val[1], 4));
    decoded.val[1] = vorrq_u8(vshlq_n_u8(text.val[1], 4), vshrq_n_u8(text.val[2], 2));
    decoded.val[2] = vorrq_u8(vshlq_n_u8(text.val[2], 6), text.val[3]);
    vst3q_u8(bytes + out, decoded);
    in += 64;
    out += 48;
  }
}
#else
void decodeVectorBlocks(char*, std::size_t, std::size_t&, std::size_t&) {}
#endif

std::string describeCharacter(unsigned char c) {
  switch (c) {
    case ' ':
      return "a space";
    case '\n':
      return "a line break";
    case '\r':
      return "a carriage return";
    case '\t':
      return "a tab";
    default:
      break;
  }
  if (c > 0x20 && c < 0x7F) return std::string("'") + static_cast<char>(c) + "'";
  static constexpr char kHex[] = "0123456789ABCDEF";
  return std::string("the byte 0x") + kHex[c >> 4] + kHex[c & 0xF];
}

Base64Fault characterFault(const char* data, std::size_t offset) {
  const auto c = static_cast<unsigned char>(data[offset]);
  const std::string where = " at offset " + std::to_string(offset);
  if (c == '=') return {offset, "padding '='" + where + " before the end of the text"};
  const bool lineBreak = c == ' ' || c == '\n' || c == '\r' || c == '\t';
  return {offset, describeCharacter(c) + where + " is not base64" +
                      (lineBreak ? " (the text must be one unbroken line)"
                                 : " (only A-Z, a-z, 0-9, '+', '/' and '=' padding)")};
}

}  // namespace

std::optional<Base64Fault> decodeBase64InPlace(char* data, std::size_t size,
                                               std::size_t* decodedSize) {
  std::size_t in = 0;
  std::size_t out = 0;
  const auto* bytes = reinterpret_cast<const unsigned char*>(data);
  decodeVectorBlocks(data, size, in, out);
  // The rest of the body: whole groups of four alphabet characters, two at a time while eight bytes
  // can be stored at once. Every character of a step is read before any byte is written, and the
  // writer stays behind the reader (6 written for 8 read), so decoding in place is safe.
  while (in + 12 <= size) {
    const std::uint32_t first = kShift18[bytes[in]] | kShift12[bytes[in + 1]] |
                                kShift6[bytes[in + 2]] | kShift0[bytes[in + 3]];
    const std::uint32_t second = kShift18[bytes[in + 4]] | kShift12[bytes[in + 5]] |
                                 kShift6[bytes[in + 6]] | kShift0[bytes[in + 7]];
    if (((first | second) & kBad) != 0) break;
    // Both groups' bytes in memory order, as one little-endian word; the top two bytes are
    // scratch that the next step overwrites.
    const std::uint64_t six = static_cast<std::uint64_t>(__builtin_bswap32(first << 8)) |
                              static_cast<std::uint64_t>(__builtin_bswap32(second << 8)) << 24;
    std::memcpy(data + out, &six, sizeof six);
    out += 6;
    in += 8;
  }
  while (in + 4 <= size) {
    const std::uint32_t group = kShift18[bytes[in]] | kShift12[bytes[in + 1]] |
                                kShift6[bytes[in + 2]] | kShift0[bytes[in + 3]];
    if ((group & kBad) != 0) break;
    data[out] = static_cast<char>(group >> 16);
    data[out + 1] = static_cast<char>(group >> 8);
    data[out + 2] = static_cast<char>(group);
    out += 3;
    in += 4;
  }
  // Every whole group of alphabet characters is decoded: the group here, if any, holds padding
  // (allowed in the last group only) or the first fault.
  if (in + 4 <= size) {
    const std::int8_t a = kDecode[static_cast<unsigned char>(data[in])];
    const std::int8_t b = kDecode[static_cast<unsigned char>(data[in + 1])];
    const std::int8_t c = kDecode[static_cast<unsigned char>(data[in + 2])];
    const std::int8_t d = kDecode[static_cast<unsigned char>(data[in + 3])];
    if (in + 4 == size && a >= 0 && b >= 0 && d == kPad && (c >= 0 || c == kPad)) {
      data[out++] = static_cast<char>((a << 2) | (b >> 4));
      if (c >= 0) data[out++] = static_cast<char>(((b & 0xF) << 4) | (c >> 2));
      in += 4;
    }
  }
  for (std::size_t k = in; k < size; ++k) {
    if (kDecode[static_cast<unsigned char>(data[k])] < 0) return characterFault(data, k);
  }
  if (in != size) {
    return Base64Fault{size, "the length " + std::to_string(size) +
                                 " is not a multiple of 4 (the text is cut short or has extra "
                                 "characters)"};
  }
  *decodedSize = out;
  return std::nullopt;
}

std::optional<std::string> decodeBase64(std::string_view text, Base64Fault* fault) {
  std::string buffer(text);
  std::size_t size = 0;
  if (auto problem = decodeBase64InPlace(buffer.data(), buffer.size(), &size)) {
    if (fault != nullptr) *fault = std::move(*problem);
    return std::nullopt;
  }
  buffer.resize(size);
  return buffer;
}

std::string encodeBase64(std::string_view bytes) {
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  std::size_t i = 0;
  for (; i + 3 <= bytes.size(); i += 3) {
    const std::uint32_t n = (data[i] << 16) | (data[i + 1] << 8) | data[i + 2];
    out += kAlphabet[n >> 18];
    out += kAlphabet[(n >> 12) & 63];
    out += kAlphabet[(n >> 6) & 63];
    out += kAlphabet[n & 63];
  }
  const std::size_t rest = bytes.size() - i;
  if (rest > 0) {
    const std::uint32_t n = (data[i] << 16) | (rest == 2 ? data[i + 1] << 8 : 0);
    out += kAlphabet[n >> 18];
    out += kAlphabet[(n >> 12) & 63];
    out += rest == 2 ? kAlphabet[(n >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}

}  // namespace vexloweb::platform
