#include "vexloweb/config/document_check.hpp"

#include <gtest/gtest.h>

namespace vexloweb {
namespace {

TEST(DocumentCheck, ListsEveryFaultInReadingOrderAndUnknownMembers) {
  const auto check = checkDocument(
      R"({"toolbar_style": 1, "admob_delay": 2.5, "loader_delay": 2, "package_name": "p",
          "menus": [{"menu": 1, "name": "x"}, null], "fullscreen": true})");
  std::vector<std::string> paths;
  for (const auto& error : check.errors) paths.push_back(error.path());
  EXPECT_EQ(paths, (std::vector<std::string>{"admob_delay", "toolbar_style", "menus[0].menu",
                                             "menus[1]"}));
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
