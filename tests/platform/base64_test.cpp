#include "platform/base64.hpp"

#include <gtest/gtest.h>

namespace vexloweb::platform {
namespace {

TEST(Base64, DecodesOnlyStrictText) {
  struct Case {
    std::string_view text;
    std::optional<std::string_view> decoded;
    std::string_view reason;
  };
  const Case cases[] = {
      {"", "", ""},
      {"Zg==", "f", ""},
      {"Zm8=", "fo", ""},
      {"Zm9v", "foo", ""},
      {"Zm9vYg==", "foob", ""},
      {"+/+/", "\xfb\xff\xbf", ""},
      {"Zm9v\nYmFy",
       {},
       "a line break at offset 4 is not base64 (the text must be one unbroken line)"},
      {"Zm9v YmFy", {}, "a space at offset 4 is not base64 (the text must be one unbroken line)"},
      {"Zm9vYmF",
       {},
       "the length 7 is not a multiple of 4 (the text is cut short or has extra characters)"},
      {"Zm9vYmFy\r",
       {},
       "a carriage return at offset 8 is not base64 (the text must be one unbroken line)"},
      {"Zm9-", {}, "'-' at offset 3 is not base64 (only A-Z, a-z, 0-9, '+', '/' and '=' padding)"},
      {"Zg==Zg==", {}, "padding '=' at offset 2 before the end of the text"},
      {"Z===", {}, "padding '=' at offset 1 before the end of the text"},
      {"Zg=a", {}, "padding '=' at offset 2 before the end of the text"},
      {"Zm9v\xc3\xa9",
       {},
       "the byte 0xC3 at offset 4 is not base64 (only A-Z, a-z, 0-9, '+', '/' and '=' padding)"},
      {std::string_view("Zm\0v", 4),
       {},
       "the byte 0x00 at offset 2 is not base64 (only A-Z, a-z, 0-9, '+', '/' and '=' padding)"},
  };
  for (const Case& c : cases) {
    Base64Fault fault{0, ""};
    const auto decoded = decodeBase64(c.text, &fault);
    EXPECT_EQ(decoded, c.decoded) << c.text;
    if (!c.decoded) {
      EXPECT_EQ(fault.reason, c.reason) << c.text;
    }
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
