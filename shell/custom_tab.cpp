// A custom tab: a window of the same app, with its settings, session, policy and permission
// handling, a bar showing the address it is at, a close button, and a line that says why a page
// failed (TLS errors included; never ignored).
#include "window_parts.hpp"

namespace vexloweb::shell {
namespace {

struct TabParts {
  ShellWindow::Impl* app;
  GtkWidget* window;
  GtkWidget* address;
  GtkWidget* problem;
  bool firstLoadDone = false;
};

void onUri(WebKitWebView* view, GParamSpec* /*property*/, TabParts* parts) {
  const char* uri = webkit_web_view_get_uri(view);
  gtk_label_set_text(GTK_LABEL(parts->address), uri != nullptr ? uri : "");
  gtk_window_set_title(GTK_WINDOW(parts->window), uri != nullptr ? uri : "");
}

gboolean onFailed(WebKitWebView* /*view*/, WebKitLoadEvent /*event*/, const char* uri,
                  GError* error, TabParts* parts) {
  if (g_error_matches(error, WEBKIT_NETWORK_ERROR, WEBKIT_NETWORK_ERROR_CANCELLED) ||
      g_error_matches(error, WEBKIT_POLICY_ERROR,
                      WEBKIT_POLICY_ERROR_FRAME_LOAD_INTERRUPTED_BY_POLICY_CHANGE)) {
    return FALSE;
  }
  const std::string text = std::string(uri) + " could not be loaded: " + error->message;
  gtk_label_set_text(GTK_LABEL(parts->problem), text.c_str());
  gtk_widget_set_visible(parts->problem, TRUE);
  return TRUE;
}

gboolean onTlsError(WebKitWebView* /*view*/, const char* uri, GTlsCertificate* /*certificate*/,
                    GTlsCertificateFlags /*errors*/, TabParts* parts) {
  const std::string text =
      std::string(uri) + " could not be loaded: its certificate is not trusted";
  gtk_label_set_text(GTK_LABEL(parts->problem), text.c_str());
  gtk_widget_set_visible(parts->problem, TRUE);
  return TRUE;
}

void onLoadChanged(WebKitWebView* /*view*/, WebKitLoadEvent event, TabParts* parts) {
  if (event == WEBKIT_LOAD_STARTED) gtk_widget_set_visible(parts->problem, FALSE);
  if (event == WEBKIT_LOAD_FINISHED && !parts->firstLoadDone) {  // after a failure as well
    parts->firstLoadDone = true;
    --parts->app->tabsLoading;
  }
}

}  // namespace

void ShellWindow::Impl::openCustomTab(const std::string& url) {
  GtkWidget* tab = gtk_window_new();
  gtk_window_set_transient_for(GTK_WINDOW(tab), GTK_WINDOW(window));
  gtk_window_set_default_size(GTK_WINDOW(tab), options.width, options.height);
  gtk_window_set_title(GTK_WINDOW(tab), url.c_str());
  GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
  GtkWidget* header = gtk_center_box_new();
  gtk_widget_add_css_class(header, "vexloweb-bar");
  GtkWidget* close = gtk_button_new_from_icon_name("window-close-symbolic");
  nameIconButton(close, "Close");
  gtk_widget_add_css_class(close, "flat");
  gtk_widget_add_css_class(close, "vexloweb-bar-button");
  g_signal_connect_swapped(close, "clicked", G_CALLBACK(gtk_window_destroy), tab);
  gtk_center_box_set_start_widget(GTK_CENTER_BOX(header), close);
  auto* parts = new TabParts{this, tab, fittedLabel(url, Fit::kEllipsize, "vexloweb-title"),
                             fittedLabel("", Fit::kWrap, "vexloweb-tab-problem")};
  gtk_center_box_set_center_widget(GTK_CENTER_BOX(header), parts->address);
  gtk_box_append(GTK_BOX(box), header);
  gtk_widget_set_visible(parts->problem, FALSE);
  gtk_box_append(GTK_BOX(box), parts->problem);

  GtkWidget* view = makeWebView(model, session);
  g_object_set_data_full(
      G_OBJECT(view), "vexloweb-tab", parts, +[](gpointer p) { delete static_cast<TabParts*>(p); });
  guard(view, true);
  g_signal_connect(view, "notify::uri", G_CALLBACK(onUri), parts);
  g_signal_connect(view, "load-failed", G_CALLBACK(onFailed), parts);
  g_signal_connect(view, "load-failed-with-tls-errors", G_CALLBACK(onTlsError), parts);
  g_signal_connect(view, "load-changed", G_CALLBACK(onLoadChanged), parts);
  gtk_box_append(GTK_BOX(box), view);
  gtk_window_set_child(GTK_WINDOW(tab), box);
  ++customTabs;
  ++tabsLoading;
  loadOwn(view, url);
  gtk_window_present(GTK_WINDOW(tab));
}

}  // namespace vexloweb::shell
