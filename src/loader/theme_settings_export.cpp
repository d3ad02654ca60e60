#include <array>
#include <string>
#include <string_view>

#include "loader/exports.hpp"
#include "vexloweb/constants/constants.hpp"
#include "vexloweb/platform/user_defaults.hpp"

namespace vexloweb {
namespace {

using C = Constants;

// The recognised names, from the catalogue so the two never drift: THEME_PRIMARY, then
// gradients 1 to 17, then solids 1 to 42.
constexpr std::array<std::string_view, 60> kThemes{
    C::THEME_PRIMARY,     C::THEME_GRADIENT_1,  C::THEME_GRADIENT_2,  C::THEME_GRADIENT_3,
    C::THEME_GRADIENT_4,  C::THEME_GRADIENT_5,  C::THEME_GRADIENT_6,  C::THEME_GRADIENT_7,
    C::THEME_GRADIENT_8,  C::THEME_GRADIENT_9,  C::THEME_GRADIENT_10, C::THEME_GRADIENT_11,
    C::THEME_GRADIENT_12, C::THEME_GRADIENT_13, C::THEME_GRADIENT_14, C::THEME_GRADIENT_15,
    C::THEME_GRADIENT_16, C::THEME_GRADIENT_17, C::THEME_SOLID_1,     C::THEME_SOLID_2,
    C::THEME_SOLID_3,     C::THEME_SOLID_4,     C::THEME_SOLID_5,     C::THEME_SOLID_6,
    C::THEME_SOLID_7,     C::THEME_SOLID_8,     C::THEME_SOLID_9,     C::THEME_SOLID_10,
    C::THEME_SOLID_11,    C::THEME_SOLID_12,    C::THEME_SOLID_13,    C::THEME_SOLID_14,
    C::THEME_SOLID_15,    C::THEME_SOLID_16,    C::THEME_SOLID_17,    C::THEME_SOLID_18,
    C::THEME_SOLID_19,    C::THEME_SOLID_20,    C::THEME_SOLID_21,    C::THEME_SOLID_22,
    C::THEME_SOLID_23,    C::THEME_SOLID_24,    C::THEME_SOLID_25,    C::THEME_SOLID_26,
    C::THEME_SOLID_27,    C::THEME_SOLID_28,    C::THEME_SOLID_29,    C::THEME_SOLID_30,
    C::THEME_SOLID_31,    C::THEME_SOLID_32,    C::THEME_SOLID_33,    C::THEME_SOLID_34,
    C::THEME_SOLID_35,    C::THEME_SOLID_36,    C::THEME_SOLID_37,    C::THEME_SOLID_38,
    C::THEME_SOLID_39,    C::THEME_SOLID_40,    C::THEME_SOLID_41,    C::THEME_SOLID_42,
};
constexpr std::size_t kGradients = 17;

struct ColourPair {
  std::string primary;
  std::string dark;
};

ColourPair coloursOf(const std::optional<std::string>& theme) {
  std::size_t index = 0;  // THEME_PRIMARY, and the default for anything unrecognised
  if (theme) {
    for (std::size_t i = 0; i < kThemes.size(); ++i) {
      if (*theme == kThemes[i]) {
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

}  // namespace

const std::array<std::string_view, 60>& themeNames() { return kThemes; }

void exportThemeSettings(const ExportedSettings& settings) {
  ColourPair colours = coloursOf(settings.theme);
  auto& defaults = platform::UserDefaults::standard();
  defaults.setObject(std::move(colours.primary), C::KEY_COLOR_PRIMARY);
  defaults.setObject(std::move(colours.dark), C::KEY_COLOR_PRIMARY_DARK);
}

}  // namespace vexloweb
