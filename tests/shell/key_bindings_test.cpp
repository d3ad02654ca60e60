// What each key does, without a display (the buttons' names: chrome_access_test.cpp).
#include <gtest/gtest.h>

#include "test_files.hpp"

#include "key_bindings.hpp"

namespace vexloweb::shell {
namespace {

TEST(KeyBindings, EachKeyDoesWhatTheTableSays) {
  const std::pair<const char*, GdkModifierType> modifiers[] = {
      {"-", GdkModifierType{}},
      {"ctrl", GDK_CONTROL_MASK},
      {"alt", GDK_ALT_MASK},
      {"ctrl+shift", static_cast<GdkModifierType>(GDK_CONTROL_MASK | GDK_SHIFT_MASK)},
      {"ctrl+alt", static_cast<GdkModifierType>(GDK_CONTROL_MASK | GDK_ALT_MASK)}};
  const char* words[] = {"escape", "reload", "back", "forward", "quit", "full screen"};
  for (const auto& row : testing::readTable("shell/keys.tsv")) {
    GdkModifierType held{};
    for (const auto& [name, mask] : modifiers) {
      if (row[1] == name) held = mask;
    }
    // A lock key held changes nothing.
    const auto action =
        keyAction(gdk_keyval_from_name(row[0].c_str()),
                  static_cast<GdkModifierType>(held | GDK_LOCK_MASK), row[2] == "1");
    EXPECT_EQ(action ? words[static_cast<int>(*action)] : "-", row[3]) << row[0] << " " << row[1];
  }
}

}  // namespace
}  // namespace vexloweb::shell
