#include "platform/text.hpp"

#include <gtest/gtest.h>

#include "test_files.hpp"

namespace vexloweb::platform {
namespace {

TEST(Text, CleansLikeTheLoaderAndCountsUserPerceivedCharacters) {
  for (const auto& row : testing::readTable("platform/clean_text.tsv"))
    EXPECT_EQ(cleanText(row[0]), row[1]) << row[0];
  for (const auto& row : testing::readTable("platform/grapheme_count.tsv")) {
    const auto count = graphemeCount(row[0]);
    EXPECT_EQ(count ? std::to_string(*count) : "-", row[1]) << row[0];
  }
}

}  // namespace
}  // namespace vexloweb::platform
