#include "vexloweb/loader/cipher.hpp"

#include <gtest/gtest.h>

#include "test_files.hpp"

namespace vexloweb {
namespace {

using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStdout;

constexpr std::string_view kKey = "7b1e40c9a3f85d26e0b94c1f3a7d2e58";
constexpr std::string_view kIv = "c30f8a61d2b4e975";

TEST(Cipher, ChecksKeyThenIvPrintingOneLine) {
  for (const auto& row : testing::readTable("loader/cipher_keys.tsv")) {
    CaptureStdout();
    const auto keys = makeCipherKeys(row[0], row[1]);
    EXPECT_EQ(GetCapturedStdout(), row[2] == "-" ? "" : row[2] + "\n") << row[0] << " / " << row[1];
    EXPECT_EQ(keys.has_value(), row[2] == "-");
  }
}

TEST(Cipher, TakesKeyTextAsBytesAndCountsCharactersNotBytes) {
  const auto keys = makeCipherKeys(kKey, kIv);
  ASSERT_TRUE(keys);
  EXPECT_EQ(keys->keyData, Bytes(kKey.begin(), kKey.end()));
  EXPECT_EQ(keys->ivData.size(), 16U);

  // 32 characters, 33 bytes: accepted here, refused by the cipher for its length.
  const std::string accented = "\xC3\xA9" + std::string(31, 'k');
  const auto wide = makeCipherKeys(accented, kIv);
  ASSERT_TRUE(wide);
  CaptureStdout();
  EXPECT_FALSE(crypt(Bytes(16, 0), kCCDecrypt, wide->keyData, wide->ivData));
  EXPECT_EQ(GetCapturedStdout(), "\"Error: Failed to crypt data. Status -4310\"\n");
}

TEST(Cipher, FailuresPrintTheStatusAndAbsentInputPrintsNothing) {
  const auto keys = makeCipherKeys(kKey, kIv);
  const std::tuple<std::optional<Bytes>, Bytes, const char*> cases[] = {
      {std::nullopt, keys->ivData, ""},
      {Bytes(15, 1), keys->ivData, "\"Error: Failed to crypt data. Status -4303\"\n"},
      {Bytes{}, keys->ivData, "\"Error: Failed to crypt data. Status -4304\"\n"},
      {Bytes(16, 1), Bytes(8, 0), "\"Error: Failed to crypt data. Status -4300\"\n"},  // short IV
  };
  for (const auto& [data, iv, printed] : cases) {
    CaptureStdout();
    EXPECT_FALSE(crypt(data, kCCDecrypt, keys->keyData, iv));
    EXPECT_EQ(GetCapturedStdout(), printed);
  }
}

}  // namespace
}  // namespace vexloweb
