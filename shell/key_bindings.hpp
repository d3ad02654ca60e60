// What each key of the window does and what its symbol buttons are called: plain tables, tested
// without a display.
#pragma once

#include <gdk/gdk.h>

#include <optional>
#include <string_view>

#include "app_model.hpp"

namespace vexloweb::shell {

enum class KeyAction { kEscape, kReload, kBack, kForward, kQuit, kFullScreen };

// What the key `keyval` with `modifiers` held does, if anything.
std::optional<KeyAction> keyAction(guint keyval, GdkModifierType modifiers, bool fullscreenAllowed);

// The accessible name of a bar button (its label is a symbol).
std::string_view buttonName(ButtonAction action);

}  // namespace vexloweb::shell
