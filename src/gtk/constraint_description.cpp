#include "vexloweb/gtk/constraint_description.hpp"

#include "vexloweb/view/constraint_description.hpp"

namespace vexloweb::gtk {
namespace {

constexpr char kIdentifierKey[] = "vexloweb-identifier";

}  // namespace

void setConstraintIdentifier(GtkConstraint* constraint, std::string_view identifier) {
  // A std::string, not a C string, so that an identifier holding NUL is kept whole. Freed with
  // the constraint, or when replaced.
  g_object_set_data_full(G_OBJECT(constraint), kIdentifierKey, new std::string(identifier),
                         [](gpointer text) { delete static_cast<std::string*>(text); });
}

std::optional<std::string> constraintIdentifier(GtkConstraint* constraint) {
  const auto* identifier =
      static_cast<const std::string*>(g_object_get_data(G_OBJECT(constraint), kIdentifierKey));
  if (identifier == nullptr) return std::nullopt;
  return *identifier;
}

std::string constraintDescription(GtkConstraint* constraint) {
  return vexloweb::constraintDescription(constraintIdentifier(constraint),
                                         gtk_constraint_get_constant(constraint));
}

}  // namespace vexloweb::gtk
