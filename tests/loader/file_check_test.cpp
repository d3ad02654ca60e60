// What check and seal say about members that are not keys: the suggestion reaches two edits and
// no further, a field's name leads to its key, and list records suggest their own keys.
#include "vexloweb/loader/file_check.hpp"

#include <gtest/gtest.h>

#include "vexloweb/loader/load_summary.hpp"

namespace vexloweb {
namespace {

TEST(FileCheck, SuggestsTheKeyWithinTwoEditsAndNoFurther) {
  const std::pair<const char*, const char*> cases[] = {
      {R"({"loader_delay": 1})",
       R"(loader_delay is not a key of the document (did you mean "loader_int_time"?))"},
      {R"({"admob_banner_delay": 1})",
       R"(admob_banner_delay is not a key of the document (did you mean "key_ad_banner_delay"?))"},
      {R"({"pakage_name": "a"})",
       R"(pakage_name is not a key of the document (did you mean "package_name"?))"},
      {R"({"pakage_nme": "a"})",
       R"(pakage_nme is not a key of the document (did you mean "package_name"?))"},
      {R"({"pakag_nme_x": "a"})", "pakag_nme_x is not a key of the document"},
      {R"({"menus": [{"name": "a"}]})",
       R"(menus[0].name is not a key of the document (did you mean "menu"?))"},
      {R"({"tabs": [{}, {"icn": "a"}]})",
       R"(tabs[1].icn is not a key of the document (did you mean "icon"?))"},
      {R"({"external_browser_url": [{"conditoin": "EQUAL"}]})",
       R"(external_browser_url[0].conditoin is not a key of the document (did you mean )"
       R"("condition"?))"},
      {R"({"external_browser_url": [{"name": "a"}]})",
       "external_browser_url[0].name is not a key of the document"},
  };
  for (const auto& [document, warning] : cases) {
    const FileCheck check = checkDocumentText(document);
    EXPECT_TRUE(check.ok()) << document;
    ASSERT_EQ(check.warnings.size(), 1U) << document;
    EXPECT_EQ(check.warnings[0], warning);
  }
  const std::string_view words[] = {"seal", "open", "check"};
  EXPECT_EQ(closestWord("sael", words), "seal");
  EXPECT_EQ(closestWord("chekc", words), "check");
  EXPECT_EQ(closestWord("xyz", words), std::nullopt);
}

// The keys a load writes, in the order it writes them: the ad settings in their table's order
// (the admob group writes rewarded before interstitial, the fb group the other way round), then
// the two theme colours.
// What may reach a terminal: control characters (C0, DEL, C1), U+2028/U+2029 and bytes that are
// not UTF-8 are escaped; other text, non-ASCII included, passes as it is.
TEST(FileCheck, PrintableTextEscapesWhatCouldDriveATerminal) {
  const std::pair<std::string, std::string> cases[] = {
      {"plain é ✓", "plain é ✓"},
      {"a\nb\tc\rd", "a\\nb\\tc\\rd"},
      {"\x1b[2K\x7f", "\\u001b[2K\\u007f"},
      {"\xc2\x85\xc2\x9b\xc2\xa0", "\\u0085\\u009b\xc2\xa0"},
      {"\xe2\x80\xa8\xe2\x80\xa9", "\\u2028\\u2029"},
      {"x\xff\x9b\xe2\x80", "x\\xff\\x9b\\xe2\\x80"},
  };
  for (const auto& [text, printed] : cases) EXPECT_EQ(printableText(text), printed) << text;
}

TEST(LoadSummary, ExportedKeysComeInTheOrderTheyAreWritten) {
  const std::array<std::string_view, 18> expected = {"ADMOB_ID",
                                                     "BANNER",
                                                     "REWARDED",
                                                     "INTERSTITIAL",
                                                     "AD_DELAY",
                                                     "BANNER_AD_DELAY",
                                                     "INTERSTITIAL_AD_DELAY",
                                                     "REWARDED_AD_DELAY",
                                                     "FB_AD_ID",
                                                     "FB_BANNER",
                                                     "FB_INTERSTITIAL",
                                                     "FB_REWARDED",
                                                     "FB_AD_DELAY",
                                                     "FB_BANNER_DELAY",
                                                     "FB_INTERSTITIAL_DELAY",
                                                     "FB_REWARDED_DELAY",
                                                     "COLOR_PRIMARY",
                                                     "COLOR_PRIMARY_DARK"};
  EXPECT_EQ(exportedKeys(), expected);
}

}  // namespace
}  // namespace vexloweb
