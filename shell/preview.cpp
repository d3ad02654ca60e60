// What a preview reads back: the window as one JSON object, and the window drawn into a PNG.
#include "json_text.hpp"
#include "vexloweb/gtk.hpp"
#include "vexloweb/platform/file.hpp"
#include "window_parts.hpp"

namespace vexloweb::shell {
namespace {

std::string orNull(const std::string& text) { return text.empty() ? "null" : jsonString(text); }

}  // namespace

std::string ShellWindow::Impl::dump() const {
  std::string out = "{\"title\":" + jsonString(model.title);
  out += R"(,"colors":{"primary":)" + jsonString(model.colours.primary) +
         ",\"primary_dark\":" + jsonString(model.colours.dark) + "}";
  out += ",\"navigation_bar\":" + jsonString(gtk::visibilityState(bar));
  out += ",\"tab_bar\":" + jsonString(gtk::visibilityState(tabBar));
  out += ",\"splash\":" + jsonString(gtk::visibilityState(splash));
  out += ",\"left_button\":" + jsonString(gtk::visibilityState(leftButton));
  out += ",\"right_button\":" + jsonString(gtk::visibilityState(rightButton));
  out += std::string(",\"side_menu_open\":") +
         (gtk_revealer_get_reveal_child(GTK_REVEALER(sideMenu)) ? "true" : "false");
  out += ",\"tabs\":[";
  for (std::size_t i = 0; i < model.tabs.size(); ++i) {
    out += (i > 0 ? "," : "") + jsonString(model.tabs[i].label);
  }
  out += "],\"menu\":[";
  for (std::size_t i = 0; i < model.menu.size(); ++i) {
    const MenuEntry& entry = model.menu[i];
    out += std::string(i > 0 ? "," : "") + "{\"label\":" + jsonString(entry.label) +
           ",\"command\":" +
           (entry.command ? jsonString(commandWord(*entry.command)) : std::string("null")) +
           ",\"url\":" + (entry.url ? jsonString(*entry.url) : std::string("null")) + "}";
  }
  const char* uri = webkit_web_view_get_uri(WEBKIT_WEB_VIEW(web));
  out += "],\"url\":" + jsonString(uri != nullptr ? uri : "");
  const char* pageTitle = webkit_web_view_get_title(WEBKIT_WEB_VIEW(web));
  out += ",\"page_title\":" + jsonString(pageTitle != nullptr ? pageTitle : "");
  out += ",\"error\":";
  out += shownError.empty()
             ? std::string("null")
             : "{\"kind\":" + jsonString(shownError) +
                   ",\"title\":" + jsonString(gtk_label_get_text(GTK_LABEL(errorTitle))) +
                   ",\"text\":" + jsonString(gtk_label_get_text(GTK_LABEL(errorText))) +
                   ",\"reason\":" + jsonString(gtk_label_get_text(GTK_LABEL(errorReason))) +
                   ",\"state\":" + jsonString(gtk::visibilityState(errorPage)) + "}";
  out += ",\"routes\":[";
  for (std::size_t i = 0; i < routes.size(); ++i) {
    out += std::string(i > 0 ? "," : "") + "{\"url\":" + jsonString(routes[i].url) +
           ",\"open\":" + jsonString(decisionWord(routes[i].decision)) + "}";
  }
  out += "],\"routes_left_out\":" + std::to_string(routesLeftOut);
  out += ",\"custom_tabs\":" + std::to_string(customTabs);
  out += ",\"permissions_refused\":[";
  for (std::size_t i = 0; i < permissions.size(); ++i) {
    out += (i > 0 ? "," : "") + jsonString(permissions[i]);
  }
  out += "],\"downloads\":[";
  for (std::size_t i = 0; i < downloads.size(); ++i) {
    const Download& d = downloads[i];
    out += std::string(i > 0 ? "," : "") + "{\"suggested\":" + jsonString(d.suggested) +
           ",\"saved_as\":" + orNull(d.savedAs) + ",\"outcome\":" + orNull(d.outcome) +
           ",\"reason\":" + orNull(d.reason) + "}";
  }
  // What the web view was set up with, as WebKit reports it.
  WebKitSettings* settings = webkit_web_view_get_settings(WEBKIT_WEB_VIEW(web));
  out += std::string("],\"settings\":{\"javascript\":") +
         (webkit_settings_get_enable_javascript(settings) ? "true" : "false") +
         ",\"phone_agent\":" + (hasPhoneAgent(WEBKIT_WEB_VIEW(web)) ? "true" : "false");
  return out + "}}";
}

// The picture the window last drew (null when it has not drawn since its last change).
GskRenderNode* ShellWindow::Impl::picture(int width, int height) const {
  GdkPaintable* paintable = gtk_widget_paintable_new(window);
  GtkSnapshot* snapshot = gtk_snapshot_new();
  gdk_paintable_snapshot(paintable, snapshot, width, height);
  GskRenderNode* node = gtk_snapshot_free_to_node(snapshot);
  g_object_unref(paintable);
  return node;
}

bool ShellWindow::Impl::hasPicture() const {
  GskRenderNode* node = picture(1, 1);
  if (node == nullptr) return false;
  gsk_render_node_unref(node);
  return true;
}

bool ShellWindow::screenshot(const std::string& file, std::string& whyNot) const {
  GtkWidget* window = impl_->window;
  const int width = gtk_widget_get_width(window);
  const int height = gtk_widget_get_height(window);
  // A window wider or taller than asked for is a layout fault; never a huge or cut picture.
  if (width <= 0 || height <= 0 || width > impl_->options.width || height > impl_->options.height) {
    whyNot = "the window is " + std::to_string(width) + "x" + std::to_string(height) +
             ", not the " + std::to_string(impl_->options.width) + "x" +
             std::to_string(impl_->options.height) + " asked for";
    return false;
  }
  GskRenderNode* node = impl_->picture(width, height);
  if (node == nullptr) {
    whyNot = "the window drew nothing";
    return false;
  }
  GskRenderer* renderer = gtk_native_get_renderer(GTK_NATIVE(window));
  graphene_rect_t bounds;
  graphene_rect_init(&bounds, 0, 0, static_cast<float>(width), static_cast<float>(height));
  GdkTexture* texture = gsk_renderer_render_texture(renderer, node, &bounds);
  gsk_render_node_unref(node);
  if (texture == nullptr) {
    whyNot = "the window could not be drawn";
    return false;
  }
  GBytes* png = gdk_texture_save_to_png_bytes(texture);
  g_object_unref(texture);
  gsize size = 0;
  const auto* data = static_cast<const char*>(g_bytes_get_data(png, &size));
  // Written beside the target and renamed over it: a failed write leaves the old file whole.
  const bool saved = platform::writeFileReplacing(file, std::string_view(data, size), &whyNot);
  g_bytes_unref(png);
  return saved;
}

}  // namespace vexloweb::shell
