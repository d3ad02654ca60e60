// What a screen reader finds on the window's chrome: the role and the name of each control (bar
// buttons, menu entries, tabs, the error page and its button, the splash, the dialogs), built as
// the window builds them, without a web view; and the order Tab moves through them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "window_parts.hpp"

namespace vexloweb::shell {
namespace {

GtkWidget* findWidget(GtkWidget* root, const char* cssClass) {
  if (gtk_widget_has_css_class(root, cssClass)) return root;
  for (GtkWidget* child = gtk_widget_get_first_child(root); child != nullptr;
       child = gtk_widget_get_next_sibling(child)) {
    if (GtkWidget* found = findWidget(child, cssClass)) return found;
  }
  return nullptr;
}

GtkWidget* dialogTitled(GtkWidget* owner, const char* title) {
  GListModel* toplevels = gtk_window_get_toplevels();
  for (guint i = 0; i < g_list_model_get_n_items(toplevels); ++i) {
    auto* window = static_cast<GtkWindow*>(g_list_model_get_item(toplevels, i));
    g_object_unref(window);  // the list keeps its own reference
    if (gtk_window_get_transient_for(window) == GTK_WINDOW(owner) &&
        std::string_view(gtk_window_get_title(window)) == title) {
      return GTK_WIDGET(window);
    }
  }
  return nullptr;
}

TEST(Chrome, EveryControlHasARoleAndAName) {
  ASSERT_TRUE(gtk_init_check());
  auto defaults = platform::UserDefaults::inMemory();
  AppModel model = makeAppModel(ConfigureData::decode(R"({
      "package_name": "com.example.bakery", "menu_header_title": "Bakery",
      "left_button_option": "LEFT_SLIDER", "right_button_option": "RIGHT_RELOAD",
      "splash_screen": true, "try_again_button": "Try once more",
      "menus": [{"menu": "Bread", "url": "https://bakery.example/bread"}],
      "tabs": [{"menu": "Shop", "url": "https://bakery.example/shop"}]})"),
                                *defaults);
  ShellWindow::Impl impl(std::move(model), *defaults, ShellOptions{});
  impl.window = gtk_window_new();
  GtkWidget* root = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
  GtkWidget* content = gtk_overlay_new();
  impl.buildBar(root);
  impl.buildSideMenu(root);
  impl.buildLoaderAndErrors(content);
  gtk_box_append(GTK_BOX(root), content);
  impl.buildTabs(root);
  impl.buildSplash(content);
  gtk_window_set_child(GTK_WINDOW(impl.window), root);
  impl.showAbout();
  impl.showThemes();

  const struct {
    const char* what;
    GtkWidget* widget;
    GtkAccessibleRole role;
    const char* name;  // nullptr: named by its title (a window, the error page)
  } rows[] = {
      {"left bar button", impl.leftButton, GTK_ACCESSIBLE_ROLE_BUTTON, "Menu"},
      {"right bar button", impl.rightButton, GTK_ACCESSIBLE_ROLE_BUTTON, "Reload"},
      {"side menu", gtk_revealer_get_child(GTK_REVEALER(impl.sideMenu)), GTK_ACCESSIBLE_ROLE_GROUP,
       "Bakery"},
      {"menu entry", findWidget(impl.sideMenu, "vexloweb-menu-entry"), GTK_ACCESSIBLE_ROLE_BUTTON,
       "Bread"},
      {"tab bar", impl.tabBar, GTK_ACCESSIBLE_ROLE_TAB_LIST, "Tabs"},
      {"tab", gtk_widget_get_first_child(impl.tabBar), GTK_ACCESSIBLE_ROLE_TAB, "Shop"},
      {"error page", impl.errorPage, GTK_ACCESSIBLE_ROLE_ALERT, nullptr},
      {"error page's button", findWidget(impl.errorPage, "vexloweb-retry"),
       GTK_ACCESSIBLE_ROLE_BUTTON, "Try once more"},
      {"splash", impl.splash, GTK_ACCESSIBLE_ROLE_GROUP, "Bakery"},
      {"about", dialogTitled(impl.window, "About Bakery"), GTK_ACCESSIBLE_ROLE_DIALOG, nullptr},
      {"theme picker", dialogTitled(impl.window, "Theme"), GTK_ACCESSIBLE_ROLE_DIALOG, nullptr},
  };
  for (const auto& row : rows) {
    ASSERT_NE(row.widget, nullptr) << row.what;
    EXPECT_TRUE(gtk_test_accessible_has_role(GTK_ACCESSIBLE(row.widget), row.role)) << row.what;
    if (row.name == nullptr) continue;
    char* problem = gtk_test_accessible_check_property(GTK_ACCESSIBLE(row.widget),
                                                       GTK_ACCESSIBLE_PROPERTY_LABEL, row.name);
    EXPECT_EQ(problem, nullptr) << row.what << ": " << problem;
    g_free(problem);
  }
  char* problem = gtk_test_accessible_check_relation(GTK_ACCESSIBLE(impl.errorPage),
                                                     GTK_ACCESSIBLE_RELATION_LABELLED_BY,
                                                     impl.errorTitle, nullptr);
  EXPECT_EQ(problem, nullptr) << problem;
  g_free(problem);

  // Focus starts on the bar, and Tab goes through the chrome in reading order (the bar, the open
  // side menu, the tabs) and round again.
  gtk_revealer_set_reveal_child(GTK_REVEALER(impl.sideMenu), TRUE);
  gtk_widget_set_visible(impl.splash, FALSE);
  gtk_window_present(GTK_WINDOW(impl.window));
  while (g_main_context_iteration(nullptr, FALSE)) {
  }
  std::vector<GtkWidget*> order{gtk_window_get_focus(GTK_WINDOW(impl.window))};
  for (int i = 0; i < 4; ++i) {
    gtk_widget_child_focus(impl.window, GTK_DIR_TAB_FORWARD);
    order.push_back(gtk_window_get_focus(GTK_WINDOW(impl.window)));
  }
  // The bar's two buttons, the menu entry, the tab, and the bar again (rows 0, 1, 3 and 5).
  EXPECT_EQ(order, (std::vector{rows[0].widget, rows[1].widget, rows[3].widget, rows[5].widget,
                                rows[0].widget}));
}

}  // namespace
}  // namespace vexloweb::shell
