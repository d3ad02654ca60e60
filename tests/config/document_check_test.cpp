#include "vexloweb/config/document_check.hpp"

#include <gtest/gtest.h>

namespace vexloweb {
namespace {

TEST(DocumentCheck, ListsEveryFaultInReadingOrderAndUnknownMembers) {
  const auto check = checkDocument(
      R"({"toolbar_style": 1, "admob_delay": 2.5, "loader_delay": 2, "package_name": "p",
          "menus": [{"menu": 1, "name": "x"}, null], "fullscreen": true})");
  ASSERT_EQ(check.errors.size(), 4U);
  EXPECT_EQ(check.errors[0].path(), "admob_delay");
  EXPECT_EQ(check.errors[1].path(), "toolbar_style");
  EXPECT_EQ(check.errors[2].path(), "menus[0].menu");
  EXPECT_EQ(check.errors[3].path(), "menus[1]");
  EXPECT_EQ(check.unknownMembers, (std::vector<std::string>{"loader_delay", "menus[0].name"}));
  EXPECT_FALSE(check.ok());
}

TEST(DocumentCheck, CountsPresentFields) {
  const auto check = checkDocument(R"({"package_name": "p", "tabs": [], "splash_screen": null})");
  EXPECT_TRUE(check.ok());
  EXPECT_EQ(check.presentFields, 2U);
  EXPECT_EQ(checkDocument("{").errors.size(), 1U);
}

}  // namespace
}  // namespace vexloweb
