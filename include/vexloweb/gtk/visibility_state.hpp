// A GtkWidget's visibility as one of three state names, read afresh from what GTK holds on every
// call (nothing is remembered beside it):
//   "visible":   shown;
//   "invisible": keeps its allocation, so its neighbours do not move, but is not mapped: it draws
//                nothing and takes no pointer or keyboard input (GTK's child-visible switch);
//   "gone":      hidden, and its height collapsed so that the widgets around it close the gap. In
//                a GtkBox (and any parent that skips hidden children) hiding is the collapse. In a
//                GtkConstraintLayout parent it is also a required "height = 0" constraint of the
//                widget's own, made once and then removed and added again, never made twice.
// A constraint layout can collapse only a child whose minimum height is 0 (whose height the host
// sets with constraints below required strength, or that has no content of its own): a child with
// a height request or content (a label) keeps at least its minimum height, and its neighbours
// move up by what lies above that. Call on GTK's main thread.
//
// Example:
//   vexloweb::gtk::setVisibilityState(banner, "gone");
//   vexloweb::gtk::visibilityState(banner);  // "gone"
#pragma once

#include <gtk/gtk.h>

#include <string>
#include <string_view>

#include "vexloweb/gtk/export.hpp"

namespace vexloweb::gtk {

// "gone" when the widget's parent lays it out with a GtkConstraintLayout that holds a constraint
// on the widget's height with a constant of 0 (whoever made it), or when the widget is hidden in
// any other parent; otherwise "invisible" when it is hidden or not child-visible (a widget hidden
// in a constraint layout keeps its gap, so it reads "invisible"), "visible" when neither. A widget
// with no parent reads by its own flags.
VEXLOWEB_GTK_EXPORT std::string visibilityState(GtkWidget* widget);

// Brings the widget into `state`: "visible" (shown, child-visible, its collapse constraint
// removed), "invisible" (shown, not child-visible, collapse removed) or "gone" (hidden,
// child-visible, and in a constraint layout its collapse constraint added, which queues a layout
// pass). Nothing at all happens when the widget already reads as `state`, or for any other text
// (another letter case, an empty string), as with the core helper.
VEXLOWEB_GTK_EXPORT void setVisibilityState(GtkWidget* widget, std::string_view state);

// The widget's own collapse constraint, or null before it was first made "gone" in a constraint
// layout. Owned by the widget; valid while the widget lives.
VEXLOWEB_GTK_EXPORT GtkConstraint* collapseConstraint(GtkWidget* widget);

}  // namespace vexloweb::gtk
