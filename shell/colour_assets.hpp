// The shell's colour assets: a colour for each of the 78 names the theme export can write. The
// library names colours and the host owns them; these are ours. Pure.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vexloweb::shell {

struct ColourAsset {
  std::string_view name;  // "colorPrimary", "quarn_gradient3_secondary", ...
  std::string_view hex;   // "#rrggbb"
};

// Every asset: "colorPrimary" and "colorPrimaryDark" (the palette's primaryColor and
// primaryDarkColor), the 17 gradients' primary and secondary, then the 42 solids.
std::span<const ColourAsset> colourAssets();

// The colour of `name`, or nothing for a name that is not an asset.
std::optional<std::string_view> colourOf(std::string_view name);

// The colours the window uses: the store's two names, or those of the theme the user picked
// (stored under KEY_THEME, when it is a theme name); unknown or absent names give the default
// pair. `gradient` when the two differ, so the bar may blend from one to the other.
struct WindowColours {
  std::string primary;  // "#rrggbb"
  std::string dark;
  bool gradient = false;
};
WindowColours windowColours(const std::optional<std::string>& primaryName,
                            const std::optional<std::string>& darkName,
                            const std::optional<std::string>& pickedTheme);

// WCAG 2's contrast ratio of two "#rrggbb" colours (1 to 21).
double contrastRatio(std::string_view a, std::string_view b);

// "#000000" or "#ffffff", whichever contrasts more with the "#rrggbb" background `behind`: text on
// a bar, a tab or the splash stays readable on every theme.
std::string_view readableTextOn(std::string_view behind);

}  // namespace vexloweb::shell
