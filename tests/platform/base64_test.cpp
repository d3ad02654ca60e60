#include "platform/base64.hpp"

#include <gtest/gtest.h>

#include "test_files.hpp"

namespace vexloweb::platform {
namespace {

TEST(Base64, DecodesOnlyStrictTextAndEncodesToIt) {
  for (const auto& row : testing::readTable("platform/base64.tsv")) {
    Base64Fault fault{0, ""};
    const auto decoded = decodeBase64(row[0], &fault);
    EXPECT_EQ(decoded ? "= " + *decoded : "! " + std::string(fault.reason), row[1]) << row[0];
    EXPECT_EQ(decoded ? encodeBase64(*decoded) : row[0], row[0]);  // the one text for the bytes
  }
}

// A character outside the alphabet is found wherever it stands in a long text: in a block the
// vector path decodes or in the scalar rest.
TEST(Base64, NamesTheOffsetOfTheFirstFaultAnywhere) {
  const std::string text = encodeBase64(std::string(300, '\xA5'));
  for (std::size_t at = 0; at + 4 < text.size(); ++at) {
    for (const char bad : {'.', '=', '\n', '\x80', '\xFF', '\0'}) {
      std::string faulty = text;
      faulty[at] = bad;
      Base64Fault fault{0, ""};
      EXPECT_FALSE(decodeBase64(faulty, &fault));
      EXPECT_EQ(fault.offset, at) << fault.reason;
    }
  }
}

TEST(Base64, EncodesWhatItDecodes) {
  std::string bytes;
  for (int i = 0; i < 300; ++i) {
    bytes += static_cast<char>(i * 7);
    EXPECT_EQ(decodeBase64(encodeBase64(bytes)), bytes);
  }
}

}  // namespace
}  // namespace vexloweb::platform
