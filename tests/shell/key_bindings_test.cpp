// What each key does, without a display (the buttons' names: chrome_access_test.cpp).
#include <gtest/gtest.h>

#include "test_files.hpp"

#include "key_bindings.hpp"

namespace vexloweb::shell {
namespace {

TEST(KeyBindings, EachKeyDoesWhatTheTableSays) {
  const char* words[] = {"escape", "reload", "back", "forward", "quit", "full screen"};
  for (const auto& row : testing::readTable("shell/keys.tsv")) {
    int held = GDK_LOCK_MASK;  // a lock key held changes nothing
    for (const auto& [name, mask] :
         {std::pair("ctrl", GDK_CONTROL_MASK), std::pair("alt", GDK_ALT_MASK),
          std::pair("shift", GDK_SHIFT_MASK)}) {
      if (row[1].find(name) != std::string::npos) held |= mask;
    }
    const auto action = keyAction(gdk_keyval_from_name(row[0].c_str()),
                                  static_cast<GdkModifierType>(held), row[2] == "1");
    EXPECT_EQ(action ? words[static_cast<int>(*action)] : "-", row[3]) << row[0] << " " << row[1];
  }
}

}  // namespace
}  // namespace vexloweb::shell
