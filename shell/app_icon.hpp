// The icon an installed app gets: the LOGO badge of its bar (the title's first character on the
// theme's colours) as an SVG, which the hicolor theme scales to every size. Pure.
#pragma once

#include <string>
#include <string_view>

#include "colour_assets.hpp"

namespace vexloweb::shell {

// The first user-perceived character of `text` after leading white space (a letter with its
// accents, a flag, an emoji sequence), or "" when there is none.
std::string firstGrapheme(std::string_view text);

// The letter the LOGO badge and the icon show: the first grapheme of `title`, else "V".
std::string badgeLetter(std::string_view title);

// The SVG document of the icon: badgeLetter(title) in white on the colours.
std::string iconSvg(std::string_view title, const WindowColours& colours);

}  // namespace vexloweb::shell
