#include "vexloweb/loader/cipher.hpp"

#include <gtest/gtest.h>

namespace vexloweb {
namespace {

using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStdout;

constexpr std::string_view kKey = "7b1e40c9a3f85d26e0b94c1f3a7d2e58";
constexpr std::string_view kIv = "c30f8a61d2b4e975";

TEST(Cipher, ChecksKeyThenIvPrintingOneLine) {
  struct Case {
    std::string_view key;
    std::string_view iv;
    const char* printed;
  };
  const Case cases[] = {
      {kKey, kIv, ""},
      {"0123456789abcdef", kIv, ""},
      {"0123456789abcdef01234567", kIv, "\"Error: Failed to set a key.\"\n"},
      {"", kIv, "\"Error: Failed to set a key.\"\n"},
      {"0123456789abcde\xC3", kIv, "\"Error: Failed to set a key.\"\n"},  // not UTF-8
      {kKey, "c30f8a61d2b4e97", "\"Error: Failed to set an initial vector.\"\n"},
      {kKey, "c30f8a61d2b4e9755", "\"Error: Failed to set an initial vector.\"\n"},
      {"short", "short", "\"Error: Failed to set a key.\"\n"},  // only the key's line
  };
  for (const Case& c : cases) {
    CaptureStdout();
    const auto keys = makeCipherKeys(c.key, c.iv);
    EXPECT_EQ(GetCapturedStdout(), c.printed) << c.key << " / " << c.iv;
    EXPECT_EQ(keys.has_value(), std::string_view(c.printed).empty());
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
  const std::pair<std::optional<Bytes>, const char*> cases[] = {
      {std::nullopt, ""},
      {Bytes(15, 1), "\"Error: Failed to crypt data. Status -4303\"\n"},
      {Bytes{}, "\"Error: Failed to crypt data. Status -4304\"\n"},
  };
  for (const auto& [data, printed] : cases) {
    CaptureStdout();
    EXPECT_FALSE(crypt(data, kCCDecrypt, keys->keyData, keys->ivData));
    EXPECT_EQ(GetCapturedStdout(), printed);
  }
  CaptureStdout();
  EXPECT_FALSE(crypt(Bytes(16, 1), kCCDecrypt, keys->keyData, Bytes(8, 0)));  // short IV
  EXPECT_EQ(GetCapturedStdout(), "\"Error: Failed to crypt data. Status -4300\"\n");
}

}  // namespace
}  // namespace vexloweb
