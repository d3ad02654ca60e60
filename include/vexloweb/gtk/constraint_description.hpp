// Identifiers and one-line descriptions for GtkConstraint, which has no identifier of its own:
// the identifier lives on the constraint (GObject data) and dies with it. The description is the
// core helper's "id: <identifier>, constant: <constant>", with the same number rules. Call on
// GTK's main thread.
//
// Example:
//   vexloweb::gtk::setConstraintIdentifier(topMargin, "topMargin");
//   vexloweb::gtk::constraintDescription(topMargin);  // "id: topMargin, constant: 8.0"
#pragma once

#include <gtk/gtk.h>

#include <optional>
#include <string>
#include <string_view>

#include "vexloweb/gtk/export.hpp"

namespace vexloweb::gtk {

// Attaches `identifier` to the constraint, replacing any earlier one. The identifier is kept
// whole, every byte of it, NUL included (as the user-defaults store keeps keys).
VEXLOWEB_GTK_EXPORT void setConstraintIdentifier(GtkConstraint* constraint,
                                                 std::string_view identifier);

// The identifier attached with setConstraintIdentifier, or nothing.
VEXLOWEB_GTK_EXPORT std::optional<std::string> constraintIdentifier(GtkConstraint* constraint);

// "id: topMargin, constant: 8.0"; no identifier (or an empty one) gives "id: , constant: 0.0".
// GTK keeps a constant finite (it turns inf and NaN into 0.0) and keeps -0.0.
VEXLOWEB_GTK_EXPORT std::string constraintDescription(GtkConstraint* constraint);

}  // namespace vexloweb::gtk
