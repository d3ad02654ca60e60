#include "vexloweb/gtk/visibility_state.hpp"

#include <optional>

namespace vexloweb::gtk {
namespace {

// The widget's own collapse constraint, kept on the widget (which holds a reference) so that the
// same object is removed and added again: GTK constraints cannot be switched off in place.
constexpr char kCollapseKey[] = "vexloweb-collapse-constraint";

enum class State { kVisible, kInvisible, kGone };

std::optional<State> parse(std::string_view state) {
  if (state == "visible") return State::kVisible;
  if (state == "invisible") return State::kInvisible;
  if (state == "gone") return State::kGone;
  return std::nullopt;
}

// The constraint layout that lays the widget out, if its parent has one.
GtkConstraintLayout* constraintLayoutOf(GtkWidget* widget) {
  GtkWidget* parent = gtk_widget_get_parent(widget);
  if (parent == nullptr) return nullptr;
  GtkLayoutManager* layout = gtk_widget_get_layout_manager(parent);
  return GTK_IS_CONSTRAINT_LAYOUT(layout) ? GTK_CONSTRAINT_LAYOUT(layout) : nullptr;
}

// Whether `layout` holds `constraint` (any of its constraints when `constraint` is null) on the
// widget's height with a constant of 0. Asked of the layout itself, not of the constraint: a
// constraint is attached only once the parent is in a window.
bool holdsHeightZero(GtkConstraintLayout* layout, GtkWidget* widget,
                     GtkConstraint* constraint = nullptr) {
  GListModel* constraints = gtk_constraint_layout_observe_constraints(layout);
  bool found = false;
  const guint count = g_list_model_get_n_items(constraints);
  for (guint i = 0; i < count && !found; ++i) {
    auto* item = static_cast<GtkConstraint*>(g_list_model_get_item(constraints, i));
    found =
        constraint != nullptr
            ? item == constraint
            : gtk_constraint_get_target(item) == GTK_CONSTRAINT_TARGET(widget) &&
                  gtk_constraint_get_target_attribute(item) == GTK_CONSTRAINT_ATTRIBUTE_HEIGHT &&
                  gtk_constraint_get_constant(item) == 0.0;
    g_object_unref(item);
  }
  g_object_unref(constraints);
  return found;
}

State derive(GtkWidget* widget) {
  const bool shown = gtk_widget_get_visible(widget);
  if (GtkConstraintLayout* layout = constraintLayoutOf(widget)) {
    if (holdsHeightZero(layout, widget)) return State::kGone;
    // Hidden in a constraint layout, the widget keeps its gap: it reads as what it does.
    return shown && gtk_widget_get_child_visible(widget) ? State::kVisible : State::kInvisible;
  }
  if (!shown) return State::kGone;
  return gtk_widget_get_child_visible(widget) ? State::kVisible : State::kInvisible;
}

// Removes the widget's own collapse constraint from its layout, if it is there.
void release(GtkWidget* widget, GtkConstraintLayout* layout) {
  GtkConstraint* collapse = collapseConstraint(widget);
  if (layout != nullptr && collapse != nullptr && holdsHeightZero(layout, widget, collapse)) {
    gtk_constraint_layout_remove_constraint(layout, collapse);
  }
}

void collapse(GtkWidget* widget, GtkConstraintLayout* layout) {
  GtkConstraint* constraint = collapseConstraint(widget);
  if (constraint == nullptr) {
    constraint = gtk_constraint_new_constant(
        GTK_CONSTRAINT_TARGET(widget), GTK_CONSTRAINT_ATTRIBUTE_HEIGHT, GTK_CONSTRAINT_RELATION_EQ,
        0.0, GTK_CONSTRAINT_STRENGTH_REQUIRED);
    // The widget keeps a reference; the constraint holds only a weak pointer to its target.
    g_object_set_data_full(G_OBJECT(widget), kCollapseKey, constraint, g_object_unref);
  }
  if (!holdsHeightZero(layout, widget, constraint)) {
    // The layout takes over a reference of its own.
    gtk_constraint_layout_add_constraint(layout, GTK_CONSTRAINT(g_object_ref(constraint)));
  }
}

}  // namespace

GtkConstraint* collapseConstraint(GtkWidget* widget) {
  return static_cast<GtkConstraint*>(g_object_get_data(G_OBJECT(widget), kCollapseKey));
}

std::string visibilityState(GtkWidget* widget) {
  switch (derive(widget)) {
    case State::kVisible:
      return "visible";
    case State::kInvisible:
      return "invisible";
    case State::kGone:
      break;
  }
  return "gone";
}

void setVisibilityState(GtkWidget* widget, std::string_view state) {
  const std::optional<State> wanted = parse(state);
  if (!wanted || *wanted == derive(widget)) return;
  GtkConstraintLayout* layout = constraintLayoutOf(widget);
  switch (*wanted) {
    case State::kVisible:
    case State::kInvisible: {
      release(widget, layout);
      gtk_widget_set_visible(widget, TRUE);
      const gboolean childVisible = *wanted == State::kVisible;
      if (gtk_widget_get_child_visible(widget) != childVisible) {
        gtk_widget_set_child_visible(widget, childVisible);
        // Mapped again, the widget is drawn only when its parent redraws.
        if (GtkWidget* parent = gtk_widget_get_parent(widget)) gtk_widget_queue_draw(parent);
      }
      break;
    }
    case State::kGone:
      gtk_widget_set_visible(widget, FALSE);
      if (!gtk_widget_get_child_visible(widget)) gtk_widget_set_child_visible(widget, TRUE);
      if (layout != nullptr) collapse(widget, layout);
      break;
  }
}

}  // namespace vexloweb::gtk
