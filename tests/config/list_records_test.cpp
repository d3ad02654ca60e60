#include "vexloweb/config/list_records.hpp"

#include <gtest/gtest.h>
#include <cstdio>

namespace vexloweb {
namespace {

TEST(ListRecords, DecodeTheirOwnKeys) {
  const auto item = MenuItem::decode(R"({"menu": "Home", "url": "/", "icon": null, "x": 1})");
  EXPECT_EQ(item, MenuItem("Home", "/", std::nullopt));
  EXPECT_EQ(NavigationTab::decode(R"({"icon": "i"})"), NavigationTab({}, {}, "i"));
  EXPECT_EQ(ExternalBrowseUrl::decode(R"({"type": "INSIDE", "condition": "EQUAL", "url": "u"})"),
            ExternalBrowseUrl("INSIDE", "EQUAL", "u"));
  EXPECT_EQ(MenuItem::decode(R"({"name": "x"})").name(), std::nullopt);
}

TEST(ListRecords, RefuseNonObjectsAndNonStrings) {
  const std::pair<const char*, const char*> cases[] = {
      {"null", "expected an object, found null"},
      {R"("menu")", R"(expected an object, found the string "menu")"},
      {R"({"url": 3})", "url: expected a string, found 3"},
      {R"({"menu": true})", "menu: expected a string, found true"},
  };
  for (const auto& [json, message] : cases) {
    try {
      MenuItem::decode(json);
      ADD_FAILURE() << json;
    } catch (const DecodingError& error) {
      EXPECT_STREQ(error.what(), message) << json;
    }
  }
}

TEST(ListRecords, EncodeRoundTrips) {
  EXPECT_EQ(MenuItem("a", std::nullopt, "c").encode(), R"({"menu":"a","icon":"c"})");
  EXPECT_EQ(ExternalBrowseUrl().encode(), "{}");
  const ExternalBrowseUrl rule("EXTERNAL", "START_WITH", "https://x.example/\"q\"");
  EXPECT_EQ(ExternalBrowseUrl::decode(rule.encode()), rule);
}

// Every byte that needs escaping, at every position of a text long enough to pass through the
// writer's eight-byte scan twice, comes out escaped, against an escaper written here.
TEST(ListRecords, EncodeEscapesEverySpecialByteAtEveryPosition) {
  const auto escaped = [](unsigned char c) -> std::string {
    switch (c) {
      case '"':
        return "\\\"";
      case '\\':
        return "\\\\";
      case '\b':
        return "\\b";
      case '\f':
        return "\\f";
      case '\n':
        return "\\n";
      case '\r':
        return "\\r";
      case '\t':
        return "\\t";
      default:
        break;
    }
    if (c >= 0x20) return std::string(1, static_cast<char>(c));
    char code[8];
    std::snprintf(code, sizeof code, "\\u%04x", c);
    return code;
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
