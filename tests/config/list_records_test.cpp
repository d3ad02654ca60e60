#include "vexloweb/config/list_records.hpp"

#include <gtest/gtest.h>
#include <map>

#include "test_files.hpp"

namespace vexloweb {
namespace {

// Every byte that needs escaping, at every position of a text long enough to pass through the
// writer's eight-byte scan twice, comes out escaped as the golden table says.
TEST(ListRecords, EncodeEscapesEverySpecialByteAtEveryPosition) {
  std::map<char, std::string> escaped = {{'a', "a"}, {'b', "b"}};  // the filler
  for (const auto& row : testing::readTable("decode/escapes.tsv")) escaped[row[0][0]] = row[1];
  ASSERT_EQ(escaped.size(), 39U);  // 32 control bytes, '"', '\\', ' ', '~', DEL and the filler
  for (std::size_t length : {1U, 7U, 8U, 9U, 16U, 17U}) {
    for (std::size_t position = 0; position < length; ++position) {
      for (const auto& [c, ignored] : escaped) {
        std::string text(length, 'a');
        text[position] = c;
        text[length - 1 - position] = position * 2 + 1 == length ? text[position] : 'b';
        std::string expected;
        for (char t : text) expected += escaped.at(t);
        const MenuItem item(text, {}, {});
        ASSERT_EQ(item.encode(), R"({"menu":")" + expected + R"("})")
            << "byte " << int{static_cast<unsigned char>(c)} << " at " << position << " of "
            << length;
        EXPECT_EQ(MenuItem::decode(item.encode()), item);
      }
    }
  }
}

}  // namespace
}  // namespace vexloweb
