#include "vexloweb/gtk/color.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace vexloweb::gtk {
namespace {

// A component GDK can take: NaN as 0, the rest clamped to [0, 1] (infinities included).
double normalised(double component) {
  return std::isnan(component) ? 0.0 : std::clamp(component, 0.0, 1.0);
}

int byteOf(double component) {
  return static_cast<int>(std::lround(normalised(component) * 255.0));
}

}  // namespace

GdkRGBA rgba(const platform::Color& color) {
  return GdkRGBA{static_cast<float>(color.red()), static_cast<float>(color.green()),
                 static_cast<float>(color.blue()), static_cast<float>(color.alpha())};
}

std::string css(const platform::Color& color) {
  if (byteOf(color.alpha()) == 255) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string text = "#";
    for (const double component : {color.red(), color.green(), color.blue()}) {
      const int byte = byteOf(component);
      text += kHex[byte >> 4];
      text += kHex[byte & 0xF];
    }
    return text;
  }
  char alpha[32];
  const auto written = std::to_chars(alpha, alpha + sizeof alpha, normalised(color.alpha()));
  return "rgba(" + std::to_string(byteOf(color.red())) + "," +
         std::to_string(byteOf(color.green())) + "," + std::to_string(byteOf(color.blue())) + "," +
         std::string(alpha, written.ptr) + ")";
}

}  // namespace vexloweb::gtk
