#include "vexloweb/config/configure_data.hpp"

#include <gtest/gtest.h>

#include "test_files.hpp"

namespace vexloweb {
namespace {

using Keys = ConfigureData::CodingKeys;

// The error that decoding `json` throws; fails the test when it decodes.
DecodingError decodingErrorOf(const std::string& json) {
  try {
    ConfigureData::decode(json);
  } catch (const DecodingError& error) {
    return error;
  }
  ADD_FAILURE() << "decoded: " << json;
  return DecodingError("", "");
}

TEST(ConfigureData, EmptyObjectLeavesEveryFieldAbsent) {
  EXPECT_EQ(ConfigureData::decode("{}"), ConfigureData());
  EXPECT_EQ(ConfigureData::decode(" {\n} "), ConfigureData());
  EXPECT_FALSE(ConfigureData::decode("{}").menus().has_value());
}

TEST(ConfigureData, DecodesTheWorkedExample) {
  const auto record = ConfigureData::decode(R"({
    "package_name": "com.example.app", "loader_int_time": 2, "file_upload": true,
    "menus": [{"menu": "Home", "url": "https://a.example/", "icon": "house"}],
    "tabs": [{"menu": "Shop", "url": "https://a.example/shop", "icon": "bag"}],
    "external_browser_url": [{"type": "EXTERNAL", "condition": "EQUAL", "url": "x"}],
    "loader_delay": "ignored", "external_browse_url": 17})");

  ConfigureData expected;
  expected.set_package_name("com.example.app");
  expected.set_loader_delay(2.0);
  expected.set_file_upload(true);
  expected.set_menus(std::vector{MenuItem("Home", "https://a.example/", "house")});
  expected.set_tabs(std::vector{NavigationTab("Shop", "https://a.example/shop", "bag")});
  expected.set_external_browse_url(std::vector{ExternalBrowseUrl("EXTERNAL", "EQUAL", "x")});
  EXPECT_EQ(record, expected);
}

TEST(ConfigureData, KeysThatDifferFromFieldNamesFeedTheirFields) {
  const auto record = ConfigureData::decode(
      R"({"key_ad_banner_delay": 1, "key_ad_interstitial_delay": 2, "key_ad_rewarded_delay": 3,
          "admob_banner_delay": 9, "Package_Name": "case differs", "PACKAGE_NAME": "x"})");
  EXPECT_EQ(record.admob_banner_delay(), 1);
  EXPECT_EQ(record.admob_interstitial_delay(), 2);
  EXPECT_EQ(record.admob_rewarded_delay(), 3);
  EXPECT_FALSE(record.package_name().has_value());
}

TEST(ConfigureData, AcceptsEachKindOfValue) {
  struct Case {
    const char* json;
    std::optional<std::int64_t> interval;
    std::optional<double> delay;
  };
  const Case cases[] = {
      {R"({"no_internet_interval": 3})", 3, {}},
      {R"({"no_internet_interval": 3.0})", 3, {}},
      {R"({"no_internet_interval": 3e1})", 30, {}},
      {R"({"no_internet_interval": -0.0})", 0, {}},
      {R"({"no_internet_interval": 9223372036854775807})", INT64_MAX, {}},
      {R"({"no_internet_interval": -9223372036854775808})", INT64_MIN, {}},
      {R"({"no_internet_interval": null})", {}, {}},
      {R"({"loader_int_time": 2})", {}, 2.0},
      {R"({"loader_int_time": -0.25})", {}, -0.25},
      {R"({"loader_int_time": 18446744073709551615})", {}, 18446744073709551615.0},
      {R"({"loader_int_time": 1e300})", {}, 1e300},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.json);
    const auto record = ConfigureData::decode(c.json);
    EXPECT_EQ(record.no_internet_interval(), c.interval);
    EXPECT_EQ(record.loader_delay(), c.delay);
  }
}

TEST(ConfigureData, RefusesWrongTypesNamingThePathAndTheValue) {
  struct Case {
    const char* json;
    const char* path;
    const char* message;
  };
  const Case cases[] = {
      {R"({"no_internet_interval": 2.5})", "no_internet_interval",
       "no_internet_interval: expected an integer (a whole number within the 64-bit range), "
       "found 2.5"},
      {R"({"admob_delay": 9223372036854775808})", "admob_delay",
       "admob_delay: expected an integer (a whole number within the 64-bit range), found "
       "9223372036854775808"},
      {R"({"admob_delay": -9223372036854775809.0})", "admob_delay",
       "admob_delay: expected an integer (a whole number within the 64-bit range), found "
       "-9223372036854775808"},
      {R"({"fb_ad_delay": "line\nbreak \"quoted\" and more than 32 bytes"})", "fb_ad_delay",
       R"(fb_ad_delay: expected an integer, found the string "line\nbreak \"quoted\" and more tha...")"},
      {R"({"admob_delay": 1e19})", "admob_delay",
       "admob_delay: expected an integer (a whole number within the 64-bit range), found 1e+19"},
      {R"({"admob_delay": "5"})", "admob_delay",
       R"(admob_delay: expected an integer, found the string "5")"},
      {R"({"file_upload": "true"})", "file_upload",
       R"(file_upload: expected true or false, found the string "true")"},
      {R"({"file_upload": 1})", "file_upload", "file_upload: expected true or false, found 1"},
      {R"({"loader_int_time": "2"})", "loader_int_time",
       R"(loader_int_time: expected a number, found the string "2")"},
      {R"({"package_name": 7})", "package_name", "package_name: expected a string, found 7"},
      {R"({"base_url": ["x"]})", "base_url", "base_url: expected a string, found an array"},
      {R"({"menus": {}})", "menus", "menus: expected an array, found an object"},
      {R"({"menus": [null]})", "menus[0]", "menus[0]: expected an object, found null"},
      {R"({"tabs": [{}, {"menu": false}]})", "tabs[1].menu",
       "tabs[1].menu: expected a string, found false"},
      {R"({"external_browser_url": [{"url": {}}]})", "external_browser_url[0].url",
       "external_browser_url[0].url: expected a string, found an object"},
      {"[]", "", "expected a JSON object at the top level, found an array"},
      {"", "", "invalid JSON at byte 0: no JSON value (the document is empty or only whitespace)"},
      {R"({"a":1,})", "",
       "invalid JSON at byte 7: a structural error (a missing or extra comma, "
       "bracket, brace, colon or member name)"},
      {R"({"a" 1})", "",
       "invalid JSON at byte 5: a structural error (a missing or extra comma, "
       "bracket, brace, colon or member name)"},
      {"{\"a\":\"\xC3\"}", "", "invalid JSON at byte 6: invalid UTF-8"},
      // The quoted excerpt stops before a character that would cross byte 32, of any length.
      {R"({"admob_delay": "0123456789012345678901234567890é"})", "admob_delay",
       R"(admob_delay: expected an integer, found the string "0123456789012345678901234567890...")"},
      {R"({"admob_delay": "012345678901234567890123456789€x"})", "admob_delay",
       R"(admob_delay: expected an integer, found the string "012345678901234567890123456789...")"},
      {R"({"admob_delay": "01234567890123456789012345678😀x"})", "admob_delay",
       R"(admob_delay: expected an integer, found the string "01234567890123456789012345678...")"},
      {R"({"admob_delay": "0123456789012345678901234567😀x"})", "admob_delay",
       R"(admob_delay: expected an integer, found the string "0123456789012345678901234567😀...")"},
  };
  for (const Case& c : cases) {
    const DecodingError error = decodingErrorOf(c.json);
    EXPECT_EQ(error.path(), c.path) << c.json;
    EXPECT_STREQ(error.what(), c.message) << c.json;
  }
}

TEST(ConfigureData, ReportsTheFirstFailureInReadingOrder) {
  // toolbar_style is read after the ad fields and the first switches; navigation_bar before them.
  const std::pair<const char*, const char*> cases[] = {
      {R"({"toolbar_style": 1, "admob_delay": "x"})", "admob_delay"},
      {R"({"toolbar_style": 1, "permission_dialog": 0})", "permission_dialog"},
      {R"({"admob_id": 1, "navigation_bar": 2})", "navigation_bar"},
      {R"({"navigation_bar": 2, "base_url": 3})", "base_url"},
      {R"({"menus": 1, "splash_screen": 2, "toolbar_style": 3})", "toolbar_style"},
  };
  for (const auto& [json, path] : cases) EXPECT_EQ(decodingErrorOf(json).path(), path) << json;
}

TEST(ConfigureData, ListsKeepOrderAndDistinguishEmptyFromNull) {
  EXPECT_EQ(ConfigureData::decode(R"({"menus": []})").menus(), std::vector<MenuItem>());
  EXPECT_FALSE(ConfigureData::decode(R"({"menus": null})").menus().has_value());
  EXPECT_EQ(ConfigureData::decode(R"({"menus": [{}]})").menus(), std::vector{MenuItem()});
  EXPECT_EQ(ConfigureData::decode(R"({"menus": [{"name": "x", "menu": null}]})").menus(),
            std::vector{MenuItem()});
  EXPECT_EQ(ConfigureData::decode(R"({"tabs": [{"menu": "a"}, {"menu": "b"}]})").tabs(),
            (std::vector{NavigationTab("a", {}, {}), NavigationTab("b", {}, {})}));
}

TEST(ConfigureData, FirstOfDuplicateMembersWins) {
  const auto record = ConfigureData::decode(
      R"({"theme_color": "SOLID_1", "theme_color": 5, "menus": [{"menu": "a", "menu": 1}]})");
  EXPECT_EQ(record.theme_color(), "SOLID_1");
  EXPECT_EQ((*record.menus())[0].name(), "a");
}

TEST(ConfigureData, EncodesPresentFieldsOnlyUnderTheirKeys) {
  ConfigureData record;
  record.set_package_name("a.b");
  record.set_loader_delay(2.5);
  EXPECT_EQ(record.encode(), R"({"package_name":"a.b","loader_int_time":2.5})");
  EXPECT_EQ(ConfigureData().encode(), "{}");

  record.set_about_text(std::string("quote \" slash \\ tab \t nul ") + '\0' + " \x1f é");
  record.set_menus(std::vector<MenuItem>{});
  EXPECT_EQ(record.encode(),
            R"({"package_name":"a.b","loader_int_time":2.5,)"
            R"("about_text":"quote \" slash \\ tab \t nul \u0000 \u001f é","menus":[]})");
  EXPECT_EQ(ConfigureData::decode(record.encode()), record);

  record.set_loader_delay(std::numeric_limits<double>::quiet_NaN());
  EXPECT_THROW(record.encode(), std::invalid_argument);
}

// Text set through the setters that is not UTF-8 would encode to JSON that decode refuses:
// encode throws instead, naming the member.
TEST(ConfigureData, EncodeRefusesTextThatIsNotUtf8NamingTheMember) {
  const auto messageOf = [](const ConfigureData& record) -> std::string {
    try {
      const std::string json = record.encode();
      EXPECT_EQ(ConfigureData::decode(json), record);
      return "";
    } catch (const std::invalid_argument& error) {
      return error.what();
    }
  };
  ConfigureData record;
  record.set_package_name("é 😀 \xEF\xBF\xBF");  // valid, up to U+FFFF
  EXPECT_EQ(messageOf(record), "");
  record.set_base_url("ok\xC3");
  EXPECT_EQ(messageOf(record),
            "base_url: the text is not valid UTF-8 (the first bad byte is at offset 2), which no "
            "JSON document can hold");
  record.set_base_url(std::nullopt);
  record.set_tabs(
      std::vector{NavigationTab("a", "b", "c"), NavigationTab("a", "\xED\xA0\x80", "c")});
  EXPECT_EQ(messageOf(record),
            "tabs[1].url: the text is not valid UTF-8 (the first bad byte is at offset 0), which "
            "no JSON document can hold");
  record.set_tabs(std::nullopt);
  record.set_external_browse_url(std::vector{ExternalBrowseUrl("\xFF", "EQUAL", "x")});
  EXPECT_NE(messageOf(record).find("external_browser_url[0].type: "), std::string::npos);
  EXPECT_THROW(MenuItem("\xC0\xAF", {}, {}).encode(), std::invalid_argument);  // overlong "/"
}

TEST(ConfigureData, RoundTripsAFullDocument) {
  const auto record = ConfigureData::decode(testing::readFile(testing::exampleDocumentPath()));
  EXPECT_TRUE(record.fullscreen().has_value());
  EXPECT_EQ(record.loader_delay(), 1.5);
  const std::string encoded = record.encode();
  EXPECT_EQ(ConfigureData::decode(encoded), record);
  EXPECT_EQ(ConfigureData::decode(encoded).encode(), encoded);
}

TEST(ConfigureData, CodingKeysMatchJsonKeysExactly) {
  EXPECT_EQ(ConfigureData::codingKey("loader_int_time"), Keys::loader_delay);
  EXPECT_EQ(ConfigureData::codingKey("external_browser_url"), Keys::external_browse_url);
  EXPECT_EQ(ConfigureData::codingKey("package_name"), Keys::package_name);
  for (const char* miss : {"loader_delay", "external_browse_url", "admob_banner_delay",
                           "Package_name", "package_name ", ""}) {
    EXPECT_FALSE(ConfigureData::codingKey(miss).has_value()) << miss;
  }
  EXPECT_EQ(ConfigureData::stringValue(Keys::admob_rewarded_delay), "key_ad_rewarded_delay");
  for (std::size_t i = 0; i < ConfigureData::kFieldCount; ++i) {
    const auto key = static_cast<Keys>(i);
    EXPECT_EQ(ConfigureData::codingKey(ConfigureData::stringValue(key)), key);
  }
  EXPECT_EQ(static_cast<std::size_t>(Keys::external_browse_url), 57U);
}

}  // namespace
}  // namespace vexloweb
