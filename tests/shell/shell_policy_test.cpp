// What a page may open and where (the navigation policy), and where a download is saved, as
// tables of what a page can produce.
#include <set>

#include <gtest/gtest.h>

#include "test_files.hpp"

#include "download_naming.hpp"
#include "navigation_policy.hpp"

namespace vexloweb::shell {
namespace {

// In the order of Decision's values.
constexpr const char* kDecisionNames[] = {"LOAD",    "OPEN_HERE", "CUSTOM_TAB", "BROWSER",
                                          "DESKTOP", "REFUSE",    "ON_RESPONSE"};

TEST(NavigationPolicy, EachRequestAPageCanMakeComesToWhatTheTableSays) {
  std::vector<ExternalBrowseUrl> rules;
  const auto cell = [](const std::string& text) {
    return text == "-" ? std::nullopt : std::optional(text);
  };
  for (const auto& row : testing::readTable("shell/navigation.tsv")) {
    if (row[0] == "rule") {
      rules.emplace_back(cell(row[1]), cell(row[2]), cell(row[3]));
      continue;
    }
    if (row[0] == "norules") {
      rules.clear();
      continue;
    }
    ASSERT_EQ(row.size(), 7U) << row[0];
    const std::string page = row[1] == "-" ? "" : row[1];
    const NavigationRequest request{
        row[0],
        page,
        row[2] == "main"  ? Frame::kMain
        : row[2] == "sub" ? Frame::kSub
                          : Frame::kUnknown,
        row[3] == "new" ? RequestKind::kNewWindow : RequestKind::kNavigation,
        row[4] == "yes",
        row[5] == "yes"};
    EXPECT_EQ(kDecisionNames[static_cast<int>(decideNavigation(rules, request))], row[6])
        << row[0] << " from " << row[1] << " " << row[2] << " " << row[3] << " gesture " << row[4]
        << " sent-out " << row[5];
  }
  // The words reported: a decision to load anywhere is INSIDE, to hand out EXTERNAL.
  EXPECT_EQ(decisionWord(Decision::kOpenHere), "INSIDE");
  EXPECT_EQ(decisionWord(Decision::kDesktop), "EXTERNAL");
  EXPECT_EQ(decisionWord(Decision::kRefuse), "REFUSED");
}

// A download's name: safe as one file name, and never one that is taken.
TEST(DownloadNaming, ANameIsSafeAndFree) {
  const std::set<std::string> folder = {"report.txt", "report (1).txt", ".bashrc", "Makefile",
                                        "archive.tar.gz"};
  const auto taken = [&](const std::string& name) { return folder.count(name) > 0; };
  for (const auto& row : testing::readTable("shell/text.tsv")) {
    const std::string got = row[0] == "safe"   ? safeFileName(row[1])
                            : row[0] == "free" ? freeFileName(row[1], taken)
                                               : row[2];
    EXPECT_EQ(got, row[2]) << row[1];
  }
  // At most 255 bytes, the extension kept, cut at a character's start; numbered names fit too.
  const std::string full = safeFileName(std::string(300, 'a') + ".txt");
  EXPECT_EQ(full, std::string(251, 'a') + ".txt");
  std::string days;  // 100 three-byte characters: 83 fit before the extension
  for (int i = 0; i < 100; ++i) days += "\xe6\x97\xa5";
  EXPECT_EQ(safeFileName(days + ".pdf"), days.substr(0, 83 * 3) + ".pdf");
  EXPECT_EQ(freeFileName(full, [&](const std::string& n) { return n == full; }),
            std::string(247, 'a') + " (1).txt");
}

}  // namespace
}  // namespace vexloweb::shell
