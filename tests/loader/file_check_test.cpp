// What check and seal say about members that are not keys: the suggestion reaches two edits and
// no further, a field's name leads to its key, and list records suggest their own keys.
#include "vexloweb/loader/file_check.hpp"

#include <algorithm>

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
  for (const auto& [word, closest] : {std::pair{"sael", "seal"}, {"chekc", "check"}, {"xyz", ""}})
    EXPECT_EQ(closestWord(word, words).value_or(""), closest) << word;
}

TEST(FileCheck, PrintableTextEscapesWhatCouldDriveATerminal) {
  for (const auto& row : testing::readTable("loader/printable_text.tsv")) {
    EXPECT_EQ(printableText(row[0]), row[1]) << row[0];
    EXPECT_EQ(formatFileCheck(row[0], {}).rfind(row[1] + ": ", 0), 0U) << row[0];  // a file's name
  }
}

// The keys a load writes, in the order it writes them: the ad settings in their table's order,
// then the two theme colours.
TEST(LoadSummary, ExportedKeysComeInTheOrderTheyAreWritten) {
  std::vector<std::string> expected;
  for (const auto& row : testing::readTable("loader/ad_settings.tsv")) expected.push_back(row[2]);
  expected.insert(expected.end(), {"COLOR_PRIMARY", "COLOR_PRIMARY_DARK"});
  EXPECT_TRUE(std::ranges::equal(exportedKeys(), expected));
}

}  // namespace
}  // namespace vexloweb
