#include "vexloweb/config/list_records.hpp"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace vexloweb
