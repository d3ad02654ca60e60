#include "vexloweb/gtk/constraint_description.hpp"

#include "vexloweb/view/constraint_description.hpp"

namespace vexloweb::gtk {
namespace {

constexpr char kIdentifierKey[] = "vexloweb-identifier";

}  // namespace

void setConstraintIdentifier(GtkConstraint* constraint, std::string_view identifier) {
  // Freed with the constraint, or when replaced.
  g_object_set_data_full(G_OBJECT(constraint), kIdentifierKey,
                         g_strndup(identifier.data(), identifier.size()), g_free);
}

std::optional<std::string> constraintIdentifier(GtkConstraint* constraint) {
  const auto* identifier =
      static_cast<const char*>(g_object_get_data(G_OBJECT(constraint), kIdentifierKey));
  if (identifier == nullptr) return std::nullopt;
  return std::string(identifier);
}

std::string constraintDescription(GtkConstraint* constraint) {
  return vexloweb::constraintDescription(constraintIdentifier(constraint),
                                         gtk_constraint_get_constant(constraint));
}

}  // namespace vexloweb::gtk
