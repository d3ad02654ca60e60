// The shell's own small windows: about, the theme picker, a permission question and a message.
#include "vexloweb/constants/constants.hpp"
#include "vexloweb/constants/themes.hpp"
#include "window_parts.hpp"

namespace vexloweb::shell {

GtkWidget* ShellWindow::Impl::dialog(const std::string& title) {
  GtkWidget* dialog = GTK_WIDGET(
      g_object_new(GTK_TYPE_WINDOW, "accessible-role", GTK_ACCESSIBLE_ROLE_DIALOG, nullptr));
  gtk_window_set_title(GTK_WINDOW(dialog), title.c_str());
  gtk_window_set_transient_for(GTK_WINDOW(dialog), GTK_WINDOW(window));
  gtk_window_set_modal(GTK_WINDOW(dialog), TRUE);
  gtk_window_set_default_size(GTK_WINDOW(dialog), 320, 420);
  return dialog;
}

void ShellWindow::Impl::showAbout() {
  GtkWidget* about = dialog("About " + model.title);
  GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 8);
  gtk_widget_set_margin_start(box, 16);
  gtk_widget_set_margin_end(box, 16);
  gtk_widget_set_margin_top(box, 16);
  for (const std::string* line :
       {&model.aboutText, &model.aboutEmail, &model.aboutMobile, &model.aboutWebsite}) {
    if (!line->empty()) gtk_box_append(GTK_BOX(box), fittedLabel(*line, Fit::kWrap));
  }
  gtk_window_set_child(GTK_WINDOW(about), box);
  gtk_window_present(GTK_WINDOW(about));
}

void ShellWindow::Impl::showThemes() {
  GtkWidget* picker = dialog("Theme");
  GtkWidget* list = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
  for (const std::string_view theme : themeNames()) {
    GtkWidget* choice = gtk_button_new_with_label(std::string(theme).c_str());
    gtk_widget_add_css_class(choice, "flat");
    g_object_set_data_full(G_OBJECT(choice), "theme", g_strdup(std::string(theme).c_str()), g_free);
    g_signal_connect(
        choice, "clicked", G_CALLBACK(+[](GtkWidget* b, Impl* self) {
          self->pickTheme(static_cast<const char*>(g_object_get_data(G_OBJECT(b), "theme")));
          gtk_window_destroy(GTK_WINDOW(gtk_widget_get_root(b)));
        }),
        this);
    gtk_box_append(GTK_BOX(list), choice);
  }
  GtkWidget* scroll = gtk_scrolled_window_new();
  gtk_scrolled_window_set_child(GTK_SCROLLED_WINDOW(scroll), list);
  gtk_window_set_child(GTK_WINDOW(picker), scroll);
  gtk_window_present(GTK_WINDOW(picker));
}

void ShellWindow::Impl::pickTheme(const std::string& theme) {
  defaults.setObject(theme, Constants::KEY_THEME);
  model.colours = windowColours(std::nullopt, std::nullopt, theme);
  applyColours();
}

void ShellWindow::Impl::askPermission(WebKitPermissionRequest* request, const std::string& what) {
  GtkWidget* ask = dialog("Permission");
  GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 12);
  gtk_widget_set_margin_start(box, 16);
  gtk_widget_set_margin_end(box, 16);
  gtk_widget_set_margin_top(box, 16);
  gtk_box_append(GTK_BOX(box), fittedLabel(what, Fit::kWrap));
  // Closing the window without an answer denies: WebKit denies a request let go undecided.
  g_object_set_data_full(G_OBJECT(ask), "request", g_object_ref(request), g_object_unref);
  for (const bool allow : {true, false}) {
    GtkWidget* button = gtk_button_new_with_label(allow ? "Allow" : "Deny");
    g_object_set_data(G_OBJECT(button), "allow", GINT_TO_POINTER(allow));
    g_signal_connect(button, "clicked", G_CALLBACK(+[](GtkWidget* b, gpointer) {
                       GtkWidget* root = GTK_WIDGET(gtk_widget_get_root(b));
                       auto* r = static_cast<WebKitPermissionRequest*>(
                           g_object_get_data(G_OBJECT(root), "request"));
                       if (GPOINTER_TO_INT(g_object_get_data(G_OBJECT(b), "allow")) != 0) {
                         webkit_permission_request_allow(r);
                       } else {
                         webkit_permission_request_deny(r);
                       }
                       gtk_window_destroy(GTK_WINDOW(root));
                     }),
                     nullptr);
    gtk_box_append(GTK_BOX(box), button);
  }
  gtk_window_set_child(GTK_WINDOW(ask), box);
  gtk_window_present(GTK_WINDOW(ask));
}

void ShellWindow::Impl::tell(const std::string& title, const std::string& text) {
  GtkWidget* message = dialog(title);
  gtk_window_set_default_size(GTK_WINDOW(message), 320, -1);
  GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 12);
  gtk_widget_set_margin_start(box, 16);
  gtk_widget_set_margin_end(box, 16);
  gtk_widget_set_margin_top(box, 16);
  gtk_widget_set_margin_bottom(box, 16);
  gtk_box_append(GTK_BOX(box), fittedLabel(text, Fit::kWrap));
  GtkWidget* close = gtk_button_new_with_label("Close");
  g_signal_connect_swapped(close, "clicked", G_CALLBACK(gtk_window_destroy), message);
  gtk_box_append(GTK_BOX(box), close);
  gtk_window_set_child(GTK_WINDOW(message), box);
  gtk_window_present(GTK_WINDOW(message));
}

}  // namespace vexloweb::shell
