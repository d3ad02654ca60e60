#include "key_bindings.hpp"

namespace vexloweb::shell {

std::optional<KeyAction> keyAction(guint keyval, GdkModifierType modifiers,
                                   bool fullscreenAllowed) {
  const auto held = static_cast<GdkModifierType>(
      modifiers & (GDK_CONTROL_MASK | GDK_ALT_MASK | GDK_SHIFT_MASK | GDK_SUPER_MASK));
  struct Binding {
    guint key;
    GdkModifierType held;
    KeyAction action;
  };
  static constexpr Binding kBindings[] = {
      {GDK_KEY_Escape, GdkModifierType{}, KeyAction::kEscape},
      {GDK_KEY_r, GDK_CONTROL_MASK, KeyAction::kReload},
      {GDK_KEY_R, GDK_CONTROL_MASK, KeyAction::kReload},
      {GDK_KEY_F5, GdkModifierType{}, KeyAction::kReload},
      {GDK_KEY_Left, GDK_ALT_MASK, KeyAction::kBack},
      {GDK_KEY_Right, GDK_ALT_MASK, KeyAction::kForward},
      {GDK_KEY_q, GDK_CONTROL_MASK, KeyAction::kQuit},
      {GDK_KEY_Q, GDK_CONTROL_MASK, KeyAction::kQuit},
      {GDK_KEY_F11, GdkModifierType{}, KeyAction::kFullScreen},
  };
  for (const Binding& binding : kBindings) {
    if (binding.key != keyval || binding.held != held) continue;
    if (binding.action == KeyAction::kFullScreen && !fullscreenAllowed) return std::nullopt;
    return binding.action;
  }
  return std::nullopt;
}

std::string_view buttonName(ButtonAction action) {
  switch (action) {
    case ButtonAction::kSideMenu:
      return "Menu";
    case ButtonAction::kReload:
      return "Reload";
    case ButtonAction::kShare:
      return "Share";
    case ButtonAction::kHome:
      return "Home";
    case ButtonAction::kNavigation:
      return "Back";
    case ButtonAction::kNone:
      break;
  }
  return "";
}

}  // namespace vexloweb::shell
