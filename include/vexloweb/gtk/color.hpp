// The palette (vexloweb/constants/colors.hpp) for GTK: as GdkRGBA for drawing, and as CSS colour
// text for styling widgets. Pure; any thread.
//
// Example:
//   GdkRGBA header = vexloweb::gtk::rgba(vexloweb::Colors::primaryColor());
//   std::string rule = "headerbar { background: " +
//                      vexloweb::gtk::css(vexloweb::Colors::primaryColor()) + "; }";
#pragma once

#include <gdk/gdk.h>

#include <string>

#include "vexloweb/gtk/export.hpp"
#include "vexloweb/platform/color.hpp"

namespace vexloweb::gtk {

// The colour's components as floats (the nearest float to each double).
VEXLOWEB_GTK_EXPORT GdkRGBA rgba(const platform::Color& color);

// "#edbf65" for an opaque colour (each component times 255, rounded); otherwise
// "rgba(237,191,101,0.5)" with the alpha's shortest decimal form. Both parse back with
// gdk_rgba_parse to within 1/255 of each component. A component outside [0, 1] counts as the
// nearer bound (infinities too) and NaN as 0, so every colour gives text GDK parses: a NaN alpha
// is transparent.
VEXLOWEB_GTK_EXPORT std::string css(const platform::Color& color);

}  // namespace vexloweb::gtk
