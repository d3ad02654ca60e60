#include "vexloweb/config/list_records.hpp"

#include <gtest/gtest.h>
#include <cstdio>
#include <map>

namespace vexloweb {
namespace {

// Every byte that needs escaping, at every position of a text long enough to pass through the
// writer's eight-byte scan twice, comes out escaped, against an escaper written here.
TEST(ListRecords, EncodeEscapesEverySpecialByteAtEveryPosition) {
  const std::map<unsigned char, std::string> named = {{'"', "\\\""}, {'\\', "\\\\"}, {'\b', "\\b"},
                                                      {'\f', "\\f"}, {'\n', "\\n"},  {'\r', "\\r"},
                                                      {'\t', "\\t"}};
  const auto escaped = [&named](unsigned char c) -> std::string {
    char code[8];
    std::snprintf(code, sizeof code, "\\u%04x", c);
    return named.contains(c) ? named.at(c)
           : c >= 0x20       ? std::string(1, static_cast<char>(c))
                             : code;
  };
  std::vector<unsigned char> bytes;
  for (int c = 0; c < 0x20; ++c) bytes.push_back(static_cast<unsigned char>(c));
  for (unsigned char c : {'"', '\\', ' ', '~', '\x7f'}) bytes.push_back(c);
  for (std::size_t length : {1U, 7U, 8U, 9U, 16U, 17U}) {
    for (std::size_t position = 0; position < length; ++position) {
      for (unsigned char c : bytes) {
        std::string text(length, 'a');
        text[position] = static_cast<char>(c);
        text[length - 1 - position] = position * 2 + 1 == length ? text[position] : 'b';
        std::string expected;
        for (char t : text) expected += escaped(static_cast<unsigned char>(t));
        const MenuItem item(text, {}, {});
        ASSERT_EQ(item.encode(), R"({"menu":")" + expected + R"("})")
            << "byte " << int{c} << " at " << position << " of " << length;
        EXPECT_EQ(MenuItem::decode(item.encode()), item);
      }
    }
  }
}

}  // namespace
}  // namespace vexloweb
