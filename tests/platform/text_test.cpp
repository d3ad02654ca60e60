#include "platform/text.hpp"

#include <gtest/gtest.h>

namespace vexloweb::platform {
namespace {

TEST(Text, CleansLikeTheLoader) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"", ""},
      {"abc", "abc"},
      {"  abc\n", "abc"},
      {"\"abc\"\r\n", "abc"},
      {"ab\"c\"d", "abcd"},
      {"a \t\n b", "a b"},
      {"a \" b", "a  b"},  // the quote goes after condensing, leaving both spaces
      {"\xC2\xA0x\xE2\x80\xA8y\xC2\x85z\xE3\x80\x80", "x y z"},  // NBSP, U+2028, NEL, U+3000
      {"x\xE2\x80\x8By", "x\xE2\x80\x8By"},                      // U+200B is not whitespace
      {"\x0B\x0C x \x1C", "x \x1C"},                             // VT, FF yes; U+001C no
      {"\xC3\xA9 \xC3\xA9", "\xC3\xA9 \xC3\xA9"},
  };
  for (const auto& [text, clean] : cases) EXPECT_EQ(cleanText(text), clean) << text;
}

TEST(Text, CountsUserPerceivedCharacters) {
  const std::pair<std::string_view, std::optional<std::size_t>> cases[] = {
      {"", 0},
      {"0123456789abcdef", 16},
      {"ab\r\ncd", 5},                                      // CR LF is one character
      {"e\xCC\x81", 1},                                     // e + combining acute
      {"\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x92\xBB", 1},  // woman + ZWJ + laptop
      {"\xF0\x9F\x87\xAC\xF0\x9F\x87\xA7", 1},              // a flag: two regional indicators
      {"\xC3", std::nullopt},
      {"\xED\xA0\x80", std::nullopt},  // a surrogate
  };
  for (const auto& [text, count] : cases) EXPECT_EQ(graphemeCount(text), count) << text;
}

}  // namespace
}  // namespace vexloweb::platform
