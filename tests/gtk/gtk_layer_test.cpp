// The GTK layer on real widgets in a realised window (run under Xvfb): what each state does to
// the allocations after a layout pass, in a GtkBox and in a GtkConstraintLayout.
#include <gtk/gtk.h>

#include <array>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "vexloweb/constants/colors.hpp"
#include "vexloweb/gtk.hpp"
#include "vexloweb/view/constraint_description.hpp"

namespace vexloweb::gtk {
namespace {

using std::string_literals::operator""s;

constexpr int kHeight = 40;  // of the middle widget, the one whose state changes (as below)

// Runs the main loop until pending work (layout, drawing) is done.
void settle() {
  for (int round = 0; round < 12; ++round) {
    while (g_main_context_iteration(nullptr, FALSE)) {
    }
    g_usleep(4000);
  }
}

// A window with three widgets stacked from the top: above, middle (kHeight high), below.
class Stack {
 public:
  explicit Stack(bool constraintLayout) {
    window_ = gtk_window_new();
    gtk_window_set_default_size(GTK_WINDOW(window_), 200, 300);
    parent_ = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    for (auto [child, height] : {std::pair{&above_, 30}, {&middle_, kHeight}, {&below_, 30}}) {
      *child = gtk_drawing_area_new();  // draws nothing; its minimum height is 0
      gtk_box_append(GTK_BOX(parent_), *child);
      if (!constraintLayout) gtk_widget_set_size_request(*child, -1, height);
    }
    if (constraintLayout) {  // the middle one's height "strong", so that a collapse wins
      GtkLayoutManager* layout = gtk_constraint_layout_new();
      gtk_widget_set_layout_manager(parent_, layout);
      const char* lines[] = {"H:|[above]|", "H:|[middle]|", "H:|[below]|",
                             "V:|[above(30@strong)][middle(40@strong)][below(30@strong)]"};
      // The names through a table of our own: the variadic form leaks the one it makes (GTK 4.8).
      GHashTable* views = g_hash_table_new(g_str_hash, g_str_equal);
      for (auto [name, widget] :
           {std::pair{"above", above_}, {"middle", middle_}, {"below", below_}})
        g_hash_table_insert(views, const_cast<char*>(name), widget);
      GError* error = nullptr;
      g_list_free(gtk_constraint_layout_add_constraints_from_descriptionv(
          GTK_CONSTRAINT_LAYOUT(layout), lines, 4, 0, 0, views, &error));
      g_hash_table_unref(views);
      EXPECT_EQ(error, nullptr) << error->message;
    }
    gtk_window_set_child(GTK_WINDOW(window_), parent_);
    gtk_window_present(GTK_WINDOW(window_));
    settle();
  }
  ~Stack() { gtk_window_destroy(GTK_WINDOW(window_)); }
  Stack(const Stack&) = delete;
  Stack& operator=(const Stack&) = delete;

  double belowTop() const {
    graphene_rect_t bounds;
    EXPECT_TRUE(gtk_widget_compute_bounds(below_, window_, &bounds));
    return bounds.origin.y;
  }

  GtkWidget* window_;
  GtkWidget* parent_;
  GtkWidget* above_ = nullptr;
  GtkWidget* middle_ = nullptr;
  GtkWidget* below_ = nullptr;
};

class GtkLayer : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(gtk_init_check()) << "no display (run under xvfb-run)";
  }
};

// Every row of the state table, in both kinds of parent: what the widget reads afterwards, and
// how far the widget below it moved.
TEST_F(GtkLayer, EveryTransitionMovesTheNeighboursAsItsStateSays) {
  const char* states[] = {"visible", "invisible", "gone"};
  for (const bool constraints : {false, true}) {
    for (const char* from : states) {
      for (const char* to : states) {
        SCOPED_TRACE(std::string(constraints ? "constraint layout: " : "box: ") + from + " -> " +
                     to);
        Stack stack(constraints);
        const double shownTop = stack.belowTop();
        EXPECT_EQ(shownTop, 30.0 + kHeight);
        setVisibilityState(stack.middle_, from);
        EXPECT_EQ(visibilityState(stack.middle_), from);
        setVisibilityState(stack.middle_, to);
        settle();
        EXPECT_EQ(visibilityState(stack.middle_), to);
        EXPECT_EQ(stack.belowTop(), std::string(to) == "gone" ? shownTop - kHeight : shownTop);
        // Only a visible widget is drawn and takes the pointer.
        EXPECT_EQ(gtk_widget_get_mapped(stack.middle_), std::string(to) == "visible");
        GtkWidget* picked =
            gtk_widget_pick(stack.window_, 100, 30 + kHeight / 2.0, GTK_PICK_DEFAULT);
        EXPECT_EQ(picked == stack.middle_, std::string(to) == "visible");
      }
    }
  }
}

// "gone" makes one constraint, once, and keeps it: switched out and in again, the same object; a
// state the widget already has, or an unknown word, changes nothing and notifies nothing.
TEST_F(GtkLayer, TheCollapseConstraintIsMadeOnceAndReused) {
  Stack stack(true);
  GListModel* observed = gtk_constraint_layout_observe_constraints(
      GTK_CONSTRAINT_LAYOUT(gtk_widget_get_layout_manager(stack.parent_)));
  const auto constraints = [observed] { return g_list_model_get_n_items(observed); };
  const unsigned before = constraints();
  setVisibilityState(stack.middle_, "gone");
  GtkConstraint* collapse = collapseConstraint(stack.middle_);
  ASSERT_NE(collapse, nullptr);
  EXPECT_EQ(constraints(), before + 1);

  int notified = 0;
  int churned = 0;
  const gulong notifyHandler = g_signal_connect_swapped(
      stack.middle_, "notify", G_CALLBACK(+[](int* n) { ++*n; }), &notified);
  const gulong churnHandler = g_signal_connect_swapped(observed, "items-changed",
                                                       G_CALLBACK(+[](int* n) { ++*n; }), &churned);
  for (const char* unchanged : {"gone", "Gone", "", "hidden"})
    setVisibilityState(stack.middle_, unchanged);
  EXPECT_EQ(notified, 0);
  EXPECT_EQ(churned, 0);
  g_signal_handler_disconnect(stack.middle_, notifyHandler);
  g_signal_handler_disconnect(observed, churnHandler);
  EXPECT_EQ(constraints(), before + 1);

  setVisibilityState(stack.middle_, "visible");
  EXPECT_EQ(constraints(), before);
  setVisibilityState(stack.middle_, "gone");
  EXPECT_EQ(collapseConstraint(stack.middle_), collapse);
  EXPECT_EQ(constraints(), before + 1);
  g_object_unref(observed);
}

// A widget the host hid in a constraint layout keeps its gap, so it reads "invisible". A height = 0
// constraint of the host's own on the widget reads "gone" whatever the widget's flags, as the core
// helper reads a foreign one; "visible" then shows the widget but leaves the host's constraint
// alone.
TEST_F(GtkLayer, AForeignHeightZeroConstraintReadsGone) {
  Stack stack(true);
  gtk_widget_set_visible(stack.middle_, FALSE);  // hidden by the host: it keeps its gap
  EXPECT_EQ(visibilityState(stack.middle_), "invisible");
  gtk_widget_set_visible(stack.middle_, TRUE);
  GtkConstraint* foreign = gtk_constraint_new_constant(
      stack.middle_, GTK_CONSTRAINT_ATTRIBUTE_HEIGHT, GTK_CONSTRAINT_RELATION_LE, -0.0,
      GTK_CONSTRAINT_STRENGTH_REQUIRED);
  gtk_constraint_layout_add_constraint(
      GTK_CONSTRAINT_LAYOUT(gtk_widget_get_layout_manager(stack.parent_)), foreign);
  EXPECT_EQ(visibilityState(stack.middle_), "gone");
  setVisibilityState(stack.middle_, "visible");
  EXPECT_EQ(visibilityState(stack.middle_), "gone");
  EXPECT_TRUE(gtk_widget_get_visible(stack.middle_));
  EXPECT_EQ(collapseConstraint(stack.middle_), nullptr);
}

// A constraint never named, or named "", describes itself with an empty id; each new name replaces
// the last, kept whole.
TEST_F(GtkLayer, ConstraintsCarryIdentifiersAndDescribeThemselvesAsTheCoreHelperDoes) {
  GtkWidget* widget = gtk_drawing_area_new();
  g_object_ref_sink(widget);
  for (const double constant : {8.0, 0.0, -0.0, -12.25, 1e-05, 1e6, 9007199254740992.0, 1e300}) {
    GtkConstraint* constraint = gtk_constraint_new_constant(widget, GTK_CONSTRAINT_ATTRIBUTE_TOP,
                                                            GTK_CONSTRAINT_RELATION_EQ, constant,
                                                            GTK_CONSTRAINT_STRENGTH_REQUIRED);
    EXPECT_EQ(constraintIdentifier(constraint), std::nullopt);
    EXPECT_EQ(constraintDescription(constraint), "id: , constant: " + formatConstant(constant));
    for (const std::string& name : {""s, "first"s, "topMargin"s, "key\0hidden"s}) {
      setConstraintIdentifier(constraint, name);
      EXPECT_EQ(constraintIdentifier(constraint), name);
      EXPECT_EQ(constraintDescription(constraint),
                "id: " + name + ", constant: " + formatConstant(constant));
    }
    g_object_unref(constraint);
  }
  g_object_unref(widget);
}

TEST_F(GtkLayer, ThePaletteAsRgbaAndCssParsesBack) {
  // Components rounded to bytes (127.5 is 128); an alpha that rounds to 255 is opaque.
  const std::pair<platform::Color, const char*> texts[] = {
      {Colors::primaryColor(), "#edbf65"},
      {Colors::black(), "#000000"},
      {platform::Color(0.2, 0.4, 0.6, 0.5), "rgba(51,102,153,0.5)"},
      {platform::Color(0.5, 0.5, 0.5, 0.999), "#808080"}};
  for (const auto& [color, text] : texts) {
    EXPECT_EQ(css(color), text);
    const GdkRGBA exact = rgba(color);
    EXPECT_EQ(std::vector({exact.red, exact.green, exact.blue, exact.alpha}),
              std::vector({static_cast<float>(color.red()), static_cast<float>(color.green()),
                           static_cast<float>(color.blue()), static_cast<float>(color.alpha())}))
        << text;
  }
  const double nan = std::numeric_limits<double>::quiet_NaN(), inf = HUGE_VAL;
  const std::array<double, 4> cases[][2] = {
      // the colour, then the one GDK reads back
      {{.1, .55, .93, 0}, {.1, .55, .93, 0}}, {{.1, .55, .93, .998}, {.1, .55, .93, .998}},
      {{.1, .55, .93, 1}, {.1, .55, .93, 1}}, {{.5, .5, .5, nan}, {.5, .5, .5, 0}},
      {{nan, inf, -inf, inf}, {0, 1, 0, 1}},  {{2, -1, .5, -inf}, {1, 0, .5, 0}}};
  for (const auto& [in, out] : cases) {
    const std::string text = css(platform::Color(in[0], in[1], in[2], in[3]));
    GdkRGBA parsed;
    ASSERT_TRUE(gdk_rgba_parse(&parsed, text.c_str())) << text;
    const double got[] = {parsed.red, parsed.green, parsed.blue, parsed.alpha};
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(got[i], out[i], 1 / 255.0) << text << " " << i;
  }
}

}  // namespace
}  // namespace vexloweb::gtk
