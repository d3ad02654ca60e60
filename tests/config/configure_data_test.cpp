#include "vexloweb/config/configure_data.hpp"

#include <sstream>

#include <gtest/gtest.h>

#include "test_files.hpp"

namespace vexloweb {
namespace {

using Keys = ConfigureData::CodingKeys;

// "MenuItem: ", "NavigationTab: " or "ExternalBrowseUrl: " before a document: that list record
// alone, decoded and encoded again; nothing for a whole document.
std::optional<std::string> listRecordEncoding(const std::string& line) {
  const std::string json = line.substr(std::min(line.find(": ") + 2, line.size()));
  if (line.starts_with("MenuItem: ")) return MenuItem::decode(json).encode();
  if (line.starts_with("NavigationTab: ")) return NavigationTab::decode(json).encode();
  if (line.starts_with("ExternalBrowseUrl: ")) return ExternalBrowseUrl::decode(json).encode();
  return std::nullopt;
}

// Each document of the golden table decodes to its record (compared through its encoding) or
// throws its error, naming the path and the value.
TEST(ConfigureData, DecodesEachDocumentOfTheTable) {
  std::istringstream table(
      testing::readFile(std::filesystem::path(VEXLOWEB_TEST_DATA) / "decode/documents.txt"));
  std::size_t cases = 0;
  for (std::string document, expected; std::getline(table, document);) {
    if (document.starts_with('#')) continue;
    std::getline(table, expected);
    SCOPED_TRACE(document);
    ++cases;
    try {
      const auto item = listRecordEncoding(document);
      const std::string encoded = item ? *item : ConfigureData::decode(document).encode();
      EXPECT_EQ("= " + encoded, expected);
      if (!item) {
        EXPECT_EQ(ConfigureData::decode(encoded).encode(), encoded);
      }
    } catch (const DecodingError& error) {
      EXPECT_EQ("! " + error.path() + " | " + error.what(), expected);
    }
  }
  EXPECT_GT(cases, 50U);
}

// What the setters hold encodes under the JSON keys (the golden table has the text escapes).
TEST(ConfigureData, EncodesWhatTheSettersHold) {
  ConfigureData record;
  EXPECT_EQ(record.encode(), "{}");
  record.set_package_name("a.b");
  record.set_loader_delay(2.5);
  EXPECT_EQ(record.encode(), R"({"package_name":"a.b","loader_int_time":2.5})");
}

// Text that is not UTF-8 or a NaN set through the setters would encode to JSON that decode
// refuses: encode throws instead, naming the member.
TEST(ConfigureData, EncodeRefusesWhatJsonCannotHoldNamingTheMember) {
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
  record.set_loader_delay(std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(messageOf(record),
            "loader_int_time: NaN and infinity cannot be written as JSON numbers");
  record.set_loader_delay(std::nullopt);
  record.set_base_url("\xEF\xBF\xBF\xF1\x90\x80\x80ok\xC3");  // U+FFFF, U+50000, a cut one
  EXPECT_EQ(messageOf(record),
            "base_url: the text is not valid UTF-8 (the first bad byte is at offset 9), which no "
            "JSON document can hold");
  record.set_base_url(std::nullopt);
  record.set_tabs(
      std::vector{NavigationTab("a", "b", "c"), NavigationTab("a", "\xED\xA0\x80", "c")});
  EXPECT_EQ(messageOf(record),
            "tabs[1].url: the text is not valid UTF-8 (the first bad byte is at offset 0), which "
            "no JSON document can hold");
  record.set_tabs(std::nullopt);
  record.set_external_browse_url(std::vector{ExternalBrowseUrl("ok\x80", "EQUAL", "x")});
  EXPECT_NE(messageOf(record).find("external_browser_url[0].type: the text is not valid UTF-8 (the "
                                   "first bad byte is at offset 2)"),
            std::string::npos);
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
