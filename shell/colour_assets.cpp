#include "colour_assets.hpp"

#include <algorithm>
#include <array>
#include <cmath>

#include "vexloweb/constants/themes.hpp"

namespace vexloweb::shell {
namespace {

// No two themes share a primary colour; a solid theme has one colour.
constexpr std::array<ColourAsset, 78> kAssets{{
    {"colorPrimary", "#edbf65"},
    {"colorPrimaryDark", "#d29032"},
    {"quarn_gradient1_primary", "#cf3a30"},
    {"quarn_gradient1_secondary", "#9c611c"},
    {"quarn_gradient2_primary", "#cf7230"},
    {"quarn_gradient2_secondary", "#9c8e1c"},
    {"quarn_gradient3_primary", "#cfaa30"},
    {"quarn_gradient3_secondary", "#7c9c1c"},
    {"quarn_gradient4_primary", "#bccf30"},
    {"quarn_gradient4_secondary", "#4f9c1c"},
    {"quarn_gradient5_primary", "#84cf30"},
    {"quarn_gradient5_secondary", "#229c1c"},
    {"quarn_gradient6_primary", "#4ccf30"},
    {"quarn_gradient6_secondary", "#1c9c43"},
    {"quarn_gradient7_primary", "#30cf4d"},
    {"quarn_gradient7_secondary", "#1c9c70"},
    {"quarn_gradient8_primary", "#30cf84"},
    {"quarn_gradient8_secondary", "#1c9b9c"},
    {"quarn_gradient9_primary", "#30cfbc"},
    {"quarn_gradient9_secondary", "#1c6d9c"},
    {"quarn_gradient10_primary", "#30a9cf"},
    {"quarn_gradient10_secondary", "#1c409c"},
    {"quarn_gradient11_primary", "#3071cf"},
    {"quarn_gradient11_secondary", "#241c9c"},
    {"quarn_gradient12_primary", "#303acf"},
    {"quarn_gradient12_secondary", "#521c9c"},
    {"quarn_gradient13_primary", "#5f30cf"},
    {"quarn_gradient13_secondary", "#7f1c9c"},
    {"quarn_gradient14_primary", "#9730cf"},
    {"quarn_gradient14_secondary", "#9c1c8c"},
    {"quarn_gradient15_primary", "#cf30ce"},
    {"quarn_gradient15_secondary", "#9c1c5e"},
    {"quarn_gradient16_primary", "#cf3097"},
    {"quarn_gradient16_secondary", "#9c1c31"},
    {"quarn_gradient17_primary", "#cf305f"},
    {"quarn_gradient17_secondary", "#9c341c"},
    {"quarn_solid1_primary", "#cb4d4d"},
    {"quarn_solid2_primary", "#264182"},
    {"quarn_solid3_primary", "#78b620"},
    {"quarn_solid4_primary", "#dd3cc9"},
    {"quarn_solid5_primary", "#198f7b"},
    {"quarn_solid6_primary", "#9b6f3b"},
    {"quarn_solid7_primary", "#7259c0"},
    {"quarn_solid8_primary", "#327a2e"},
    {"quarn_solid9_primary", "#a63058"},
    {"quarn_solid10_primary", "#4d9ccb"},
    {"quarn_solid11_primary", "#7b8226"},
    {"quarn_solid12_primary", "#9720b6"},
    {"quarn_solid13_primary", "#3cdd8c"},
    {"quarn_solid14_primary", "#8f3219"},
    {"quarn_solid15_primary", "#3b439b"},
    {"quarn_solid16_primary", "#80c059"},
    {"quarn_solid17_primary", "#7a2e61"},
    {"quarn_solid18_primary", "#30a1a6"},
    {"quarn_solid19_primary", "#cbac4d"},
    {"quarn_solid20_primary", "#502682"},
    {"quarn_solid21_primary", "#20b639"},
    {"quarn_solid22_primary", "#dd3c50"},
    {"quarn_solid23_primary", "#194b8f"},
    {"quarn_solid24_primary", "#7f9b3b"},
    {"quarn_solid25_primary", "#c059c0"},
    {"quarn_solid26_primary", "#2e7a64"},
    {"quarn_solid27_primary", "#a66130"},
    {"quarn_solid28_primary", "#5c4dcb"},
    {"quarn_solid29_primary", "#368226"},
    {"quarn_solid30_primary", "#b62065"},
    {"quarn_solid31_primary", "#3cb5dd"},
    {"quarn_solid32_primary", "#8f8a19"},
    {"quarn_solid33_primary", "#7b3b9b"},
    {"quarn_solid34_primary", "#59c07f"},
    {"quarn_solid35_primary", "#7a342e"},
    {"quarn_solid36_primary", "#3049a6"},
    {"quarn_solid37_primary", "#8dcb4d"},
    {"quarn_solid38_primary", "#822670"},
    {"quarn_solid39_primary", "#20b6a9"},
    {"quarn_solid40_primary", "#dda03c"},
    {"quarn_solid41_primary", "#40198f"},
    {"quarn_solid42_primary", "#3b9b3e"},
}};

// Relative luminance of "#rrggbb" (WCAG 2); anything else counts as black.
double luminance(std::string_view hex) {
  if (hex.size() != 7 || hex[0] != '#') return 0;
  double sum = 0;
  constexpr double kWeights[] = {0.2126, 0.7152, 0.0722};
  for (int i = 0; i < 3; ++i) {
    int value = 0;
    for (const char c : hex.substr(1 + 2 * i, 2)) {
      const int digit = c >= '0' && c <= '9'   ? c - '0'
                        : c >= 'a' && c <= 'f' ? c - 'a' + 10
                        : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                               : 0;
      value = value * 16 + digit;
    }
    const double s = value / 255.0;
    sum += kWeights[i] * (s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4));
  }
  return sum;
}

}  // namespace

double contrastRatio(std::string_view a, std::string_view b) {
  const double la = luminance(a);
  const double lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

std::string_view readableTextOn(std::string_view behind) {
  return contrastRatio(behind, "#000000") >= contrastRatio(behind, "#ffffff") ? "#000000"
                                                                              : "#ffffff";
}

std::span<const ColourAsset> colourAssets() { return kAssets; }

std::optional<std::string_view> colourOf(std::string_view name) {
  const auto* const found =
      std::find_if(kAssets.begin(), kAssets.end(),
                   [name](const ColourAsset& asset) { return asset.name == name; });
  if (found == kAssets.end()) return std::nullopt;
  return found->hex;
}

WindowColours windowColours(const std::optional<std::string>& primaryName,
                            const std::optional<std::string>& darkName,
                            const std::optional<std::string>& pickedTheme) {
  ThemeColourNames names{primaryName.value_or(""), darkName.value_or("")};
  const auto themes = themeNames();
  if (pickedTheme && std::find(themes.begin(), themes.end(), *pickedTheme) != themes.end()) {
    names = themeColourNames(*pickedTheme);
  }
  const auto primary = colourOf(names.primary);
  const auto dark = colourOf(names.dark);
  if (!primary || !dark) names = themeColourNames(std::nullopt);
  WindowColours colours{std::string(*colourOf(names.primary)), std::string(*colourOf(names.dark))};
  colours.gradient = colours.primary != colours.dark;
  return colours;
}

}  // namespace vexloweb::shell
