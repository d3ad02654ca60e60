#include "vexloweb/constants/colors.hpp"

namespace vexloweb {
namespace {

const platform::Color* opaque(int red, int green, int blue) {
  return new platform::Color(red / 255.0, green / 255.0, blue / 255.0, 1.0);
}

}  // namespace

// Each member has its own slot, created under the language's thread-safe static initialisation
// on first read and never destroyed, so a reference stays valid until the process ends.
#define VEXLOWEB_COLOR(member, r, g, b)                          \
  const platform::Color& Colors::member() {                      \
    static const platform::Color* const color = opaque(r, g, b); \
    return *color;                                               \
  }

VEXLOWEB_COLOR(primaryColor, 237, 191, 101)
VEXLOWEB_COLOR(primaryDarkColor, 210, 144, 50)
VEXLOWEB_COLOR(accentColor, 52, 191, 104)
VEXLOWEB_COLOR(brightOrange, 255, 69, 0)
VEXLOWEB_COLOR(red, 255, 115, 115)
VEXLOWEB_COLOR(orange, 255, 175, 72)
VEXLOWEB_COLOR(blue, 74, 144, 228)
VEXLOWEB_COLOR(green, 91, 197, 159)
VEXLOWEB_COLOR(darkGrey, 85, 85, 85)
VEXLOWEB_COLOR(veryDarkGrey, 13, 13, 13)
VEXLOWEB_COLOR(lightGrey, 200, 200, 200)
VEXLOWEB_COLOR(black, 0, 0, 0)
VEXLOWEB_COLOR(white, 255, 255, 255)

#undef VEXLOWEB_COLOR

}  // namespace vexloweb
