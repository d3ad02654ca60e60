// What check and seal say about members that are not keys: the suggestion reaches two edits and
// no further, a field's name leads to its key, and list records suggest their own keys.
#include "vexloweb/loader/file_check.hpp"

#include <gtest/gtest.h>

#include "test_files.hpp"
#include "vexloweb/loader/load_summary.hpp"

namespace vexloweb {
namespace {

TEST(FileCheck, SuggestsTheKeyWithinTwoEditsAndNoFurther) {
  for (const auto& row : testing::readTable("loader/unknown_members.tsv")) {
    const FileCheck check = checkDocumentText(row[0]);
    EXPECT_TRUE(check.ok()) << row[0];
    EXPECT_EQ(check.warnings, std::vector{row[1]});
  }
  const std::string_view words[] = {"seal", "open", "check"};
  EXPECT_EQ(closestWord("sael", words), "seal");
  EXPECT_EQ(closestWord("chekc", words), "check");
  EXPECT_EQ(closestWord("xyz", words), std::nullopt);
}

TEST(FileCheck, PrintableTextEscapesWhatCouldDriveATerminal) {
  for (const auto& row : testing::readTable("loader/printable_text.tsv")) {
    EXPECT_EQ(printableText(row[0]), row[1]) << row[0];
    EXPECT_EQ(formatFileCheck(row[0], {}).rfind(row[1] + ": ", 0), 0U) << row[0];  // a file's name
  }
}

// The keys a load writes, in the order it writes them: the ad settings in their table's order
// (the admob group writes rewarded before interstitial, the fb group the other way round), then
// the two theme colours.
TEST(LoadSummary, ExportedKeysComeInTheOrderTheyAreWritten) {
  // clang-format off
  const std::array<std::string_view, 18> expected = {
      "ADMOB_ID", "BANNER", "REWARDED", "INTERSTITIAL", "AD_DELAY", "BANNER_AD_DELAY",
      "INTERSTITIAL_AD_DELAY", "REWARDED_AD_DELAY", "FB_AD_ID", "FB_BANNER", "FB_INTERSTITIAL",
      "FB_REWARDED", "FB_AD_DELAY", "FB_BANNER_DELAY", "FB_INTERSTITIAL_DELAY", "FB_REWARDED_DELAY",
      "COLOR_PRIMARY", "COLOR_PRIMARY_DARK"};
  // clang-format on
  EXPECT_EQ(exportedKeys(), expected);
}

}  // namespace
}  // namespace vexloweb
