#include "vexloweb/platform/cc_crypt.hpp"

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "test_files.hpp"

namespace vexloweb::platform {
namespace {

// Known answers from an independent implementation (openssl) and NIST, for each key size, padded
// and not: encryption gives the cipher text, and decryption in place the plain text.
TEST(CCCrypt, EncryptsAndDecryptsToTheKnownAnswers) {
  for (const auto& row : testing::readTable("platform/aes_cbc.tsv")) {
    SCOPED_TRACE(std::to_string(row[0].size() * 8) + "-bit key, " + std::to_string(row[2].size()));
    const std::string &key = row[0], &iv = row[1], &plain = row[2];
    const CCOptions options = row[4] == "pkcs7" ? kCCOptionPKCS7Padding : 0;
    std::string text(plain.size() + 16, '\0');
    std::size_t moved = 0;
    ASSERT_EQ(CCCrypt(0, kCCAlgorithmAES, options, key.data(), key.size(), iv.data(), plain.data(),
                      plain.size(), text.data(), text.size(), &moved),
              kCCSuccess);
    text.resize(moved);
    EXPECT_EQ(text, row[3]);
    ASSERT_EQ(CCCrypt(1, kCCAlgorithmAES, options, key.data(), key.size(), iv.data(), text.data(),
                      text.size(), text.data(), text.size(), &moved),
              kCCSuccess);
    text.resize(moved);
    EXPECT_EQ(text, plain);
  }
}

// Decrypts two blocks whose plain text ends in `tail` (encrypted without padding), checking the
// PKCS#7 padding; returns the status and the bytes written. The output starts as 0xAA bytes.
CCCryptorStatus decryptEnding(const std::vector<std::uint8_t>& tail, std::vector<std::uint8_t>& out,
                              std::size_t& moved) {
  const std::string key(16, 'k'), iv(16, 'i');
  std::vector<std::uint8_t> sealed(32, 'p');
  std::copy(tail.begin(), tail.end(), sealed.end() - static_cast<std::ptrdiff_t>(tail.size()));
  EXPECT_EQ(CCCrypt(0, kCCAlgorithmAES, 0, key.data(), 16, iv.data(), sealed.data(), 32,
                    sealed.data(), 32, &moved),
            kCCSuccess);
  out.assign(48, 0xAA);
  return CCCrypt(1, kCCAlgorithmAES, kCCOptionPKCS7Padding, key.data(), 16, iv.data(),
                 sealed.data(), 32, out.data(), out.size(), &moved);
}

// Every pad length is accepted when all its bytes are right, and refused when any single one of
// them is wrong (not only when all are), or when the length byte is 0 or above 16. A refused
// decryption leaves nothing of the plain text in the output.
TEST(CCCrypt, PaddingIsCheckedByteByByteAndAFailureZeroesTheOutput) {
  std::vector<std::uint8_t> out;
  std::size_t moved = 0;
  std::vector<std::vector<std::uint8_t>> refused = {{0}, {17}, {255}};
  for (std::uint8_t n = 1; n <= 16; ++n) {
    ASSERT_EQ(decryptEnding(std::vector<std::uint8_t>(n, n), out, moved), kCCSuccess) << int{n};
    EXPECT_EQ(moved, 32U - n);
    for (std::size_t wrong = 0; wrong + 1 < n; ++wrong) {
      for (std::uint8_t value : {std::uint8_t(n - 1), std::uint8_t(n + 1), std::uint8_t{0}})
        refused.emplace_back(n, n)[wrong] = value;
    }
  }
  for (const auto& tail : refused) {
    EXPECT_EQ(decryptEnding(tail, out, moved), kCCDecodeError) << ::testing::PrintToString(tail);
    EXPECT_EQ(std::count(out.begin(), out.begin() + 32, 0), 32) << "output not zeroed";
  }
}

TEST(CCCrypt, ReportsEachFaultWithItsStatus) {
  const std::string key(32, 'k'), iv(16, 'i');
  std::vector<std::uint8_t> block(16);
  std::size_t moved = 0;
  ASSERT_EQ(CCCrypt(0, 0, 1, key.data(), 32, iv.data(), "x", 1, block.data(), 16, &moved),
            kCCSuccess);
  std::vector<std::uint8_t> out(64);
  for (const auto& row : testing::readTable("platform/cc_crypt_faults.tsv")) {
    const auto number = [&row](std::size_t column) { return std::stoul(row[column]); };
    EXPECT_EQ(CCCrypt(static_cast<std::uint32_t>(number(1)), 0,
                      static_cast<std::uint32_t>(number(2)), key.data(), number(3), iv.data(),
                      block.data(), number(4), out.data(), number(5), &moved),
              std::stoi(row[6]))
        << row[0];
    EXPECT_EQ(moved, number(7)) << row[0];
  }
  EXPECT_EQ(CCCrypt(0, 0, 1, key.data(), 32, iv.data(), "x", 1, nullptr, 1, &moved), kCCParamError);
}

}  // namespace
}  // namespace vexloweb::platform
