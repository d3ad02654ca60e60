#include <array>
#include <string>
#include <string_view>

#include "constants/theme_names.hpp"
#include "loader/exports.hpp"
#include "vexloweb/constants/constants.hpp"
#include "vexloweb/constants/themes.hpp"
#include "vexloweb/platform/user_defaults.hpp"

namespace vexloweb {
namespace {

using C = Constants;

constexpr std::size_t kGradients = 17;

}  // namespace

std::span<const std::string_view> themeNames() { return kThemeNames; }

ThemeColourNames themeColourNames(std::optional<std::string_view> theme) {
  std::size_t index = 0;  // THEME_PRIMARY, and the default for anything unrecognised
  if (theme) {
    for (std::size_t i = 0; i < kThemeNames.size(); ++i) {
      if (*theme == kThemeNames[i]) {
        index = i;
        break;
      }
    }
  }
  if (index == 0) return {"colorPrimary", "colorPrimaryDark"};
  if (index <= kGradients) {
    const std::string name = "quarn_gradient" + std::to_string(index);
    return {name + "_primary", name + "_secondary"};
  }
  // A solid theme has one colour; its companion is the same name.
  const std::string name = "quarn_solid" + std::to_string(index - kGradients) + "_primary";
  return {name, name};
}

void exportThemeSettings(const ExportedSettings& settings, platform::UserDefaults& defaults) {
  ThemeColourNames colours = themeColourNames(settings.theme);
  defaults.setObject(std::move(colours.primary), C::KEY_COLOR_PRIMARY);
  defaults.setObject(std::move(colours.dark), C::KEY_COLOR_PRIMARY_DARK);
}

}  // namespace vexloweb
