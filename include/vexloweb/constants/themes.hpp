// The colour themes a configuration can name in `theme_color`, and the two colour names the load
// exports for each ("COLOR_PRIMARY" and "COLOR_PRIMARY_DARK"). The names stand for colours the
// host owns: the library never turns them into colours. Pure; any thread.
//
// Example:
//   for (std::string_view theme : vexloweb::themeNames()) offer(theme);
//   auto names = vexloweb::themeColourNames("SOLID_3");  // "quarn_solid3_primary" twice
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "vexloweb/export.hpp"

namespace vexloweb {

// The 60 theme names, as the catalogue declares them: "THEME_PRIMARY", "GRADIENT_1" to
// "GRADIENT_17", "SOLID_1" to "SOLID_42".
VEXLOWEB_EXPORT std::span<const std::string_view> themeNames();

struct VEXLOWEB_EXPORT ThemeColourNames {
  std::string primary;  // exported under "COLOR_PRIMARY"
  std::string dark;     // exported under "COLOR_PRIMARY_DARK"
};

// The names exported for `theme`: "quarn_gradient<n>_primary" and "..._secondary" for a gradient,
// "quarn_solid<n>_primary" twice for a solid, and "colorPrimary" and "colorPrimaryDark" for
// "THEME_PRIMARY", an absent theme or any text that is not a theme name (compared exactly).
VEXLOWEB_EXPORT ThemeColourNames themeColourNames(std::optional<std::string_view> theme);

}  // namespace vexloweb
