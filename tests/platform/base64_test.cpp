#include "platform/base64.hpp"

#include <gtest/gtest.h>

#include "test_files.hpp"

namespace vexloweb::platform {
namespace {

TEST(Base64, DecodesOnlyStrictText) {
  for (const auto& row : testing::readTable("platform/base64.tsv")) {
    Base64Fault fault{0, ""};
    const auto decoded = decodeBase64(row[0], &fault);
    EXPECT_EQ(decoded ? "= " + *decoded : "! " + std::string(fault.reason), row[1]) << row[0];
  }
}

TEST(Base64, EncodesWhatItDecodes) {
  std::string bytes;
  for (int i = 0; i < 300; ++i) {
    bytes += static_cast<char>(i * 7);
    EXPECT_EQ(decodeBase64(encodeBase64(bytes)), bytes);
  }
  EXPECT_EQ(encodeBase64("foobar"), "Zm9vYmFy");
  EXPECT_EQ(encodeBase64("fooba"), "Zm9vYmE=");
}

}  // namespace
}  // namespace vexloweb::platform
