// The GTK 4 layer of VexloWebLib (the optional component VexloWebLib::gtk, pkg-config
// vexloweb-gtk): visibility states on any GtkWidget, identifiers and descriptions of GtkConstraint,
// and the palette as GdkRGBA and CSS. Call from GTK's main thread, as GTK itself requires.
#pragma once

#include "vexloweb/gtk/color.hpp"
#include "vexloweb/gtk/constraint_description.hpp"
#include "vexloweb/gtk/visibility_state.hpp"
