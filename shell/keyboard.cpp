#include "keyboard.hpp"

#include "key_bindings.hpp"

#include <webkit/webkit.h>

#include <functional>

namespace vexloweb::shell {
namespace {

// Every widget under `root`, depth first.
void eachWidget(GtkWidget* root, const std::function<void(GtkWidget*)>& visit) {
  visit(root);
  for (GtkWidget* child = gtk_widget_get_first_child(root); child != nullptr;
       child = gtk_widget_get_next_sibling(child)) {
    eachWidget(child, visit);
  }
}

template <typename Match>
GtkWidget* findWidget(GtkWidget* root, Match match) {
  GtkWidget* found = nullptr;
  eachWidget(root, [&](GtkWidget* w) {
    if (found == nullptr && match(w)) found = w;
  });
  return found;
}

struct Keys {
  GtkWidget* window;
  bool fullscreenAllowed;
};

bool run(GtkWidget* window, KeyAction action) {
  GtkWidget* web = findWidget(window, [](GtkWidget* w) { return WEBKIT_IS_WEB_VIEW(w); });
  auto* view = WEBKIT_WEB_VIEW(web);
  switch (action) {
    case KeyAction::kEscape: {
      GtkWidget* menu = findWidget(window, [](GtkWidget* w) { return GTK_IS_REVEALER(w); });
      if (menu == nullptr || !gtk_revealer_get_reveal_child(GTK_REVEALER(menu))) return false;
      gtk_revealer_set_reveal_child(GTK_REVEALER(menu), FALSE);
      return true;
    }
    case KeyAction::kReload: {
      GtkWidget* retry = findWidget(window, [](GtkWidget* w) {
        return gtk_widget_has_css_class(w, "vexloweb-retry") && gtk_widget_is_drawable(w);
      });
      if (retry != nullptr) {
        gtk_widget_activate(retry);  // hides the error page as the button does
      } else if (view != nullptr) {
        webkit_web_view_reload(view);
      }
      return true;
    }
    case KeyAction::kBack:
      if (view != nullptr && webkit_web_view_can_go_back(view)) webkit_web_view_go_back(view);
      return true;
    case KeyAction::kForward:
      if (view != nullptr && webkit_web_view_can_go_forward(view)) {
        webkit_web_view_go_forward(view);
      }
      return true;
    case KeyAction::kQuit:
      gtk_window_destroy(GTK_WINDOW(window));
      return true;
    case KeyAction::kFullScreen:
      if (gtk_window_is_fullscreen(GTK_WINDOW(window))) {
        gtk_window_unfullscreen(GTK_WINDOW(window));
      } else {
        gtk_window_fullscreen(GTK_WINDOW(window));
      }
      return true;
  }
  return false;
}

// A dialog or custom tab of the window closes on Escape.
void watchDialogs(GtkWidget* window) {
  GListModel* toplevels = gtk_window_get_toplevels();
  g_signal_connect_object(
      toplevels, "items-changed",
      G_CALLBACK(+[](GListModel* list, guint position, guint, guint added, GtkWidget* owner) {
        for (guint i = position; i < position + added; ++i) {
          auto* dialog = static_cast<GtkWindow*>(g_list_model_get_item(list, i));
          if (gtk_window_get_transient_for(dialog) == GTK_WINDOW(owner)) {
            GtkEventController* keys = gtk_event_controller_key_new();
            g_signal_connect(keys, "key-pressed",
                             G_CALLBACK(+[](GtkEventControllerKey* c, guint key, guint,
                                            GdkModifierType) -> gboolean {
                               if (key != GDK_KEY_Escape) return FALSE;
                               gtk_window_destroy(GTK_WINDOW(
                                   gtk_event_controller_get_widget(GTK_EVENT_CONTROLLER(c))));
                               return TRUE;
                             }),
                             nullptr);
            gtk_widget_add_controller(GTK_WIDGET(dialog), keys);
          }
          g_object_unref(dialog);
        }
      }),
      window, static_cast<GConnectFlags>(0));
}

}  // namespace

void addKeys(GtkWidget* window, bool fullscreenAllowed) {
  auto* keys = new Keys{window, fullscreenAllowed};
  GtkEventController* controller = gtk_event_controller_key_new();
  gtk_event_controller_set_propagation_phase(controller, GTK_PHASE_CAPTURE);
  g_signal_connect_data(
      controller, "key-pressed",
      G_CALLBACK(+[](GtkEventControllerKey*, guint key, guint, GdkModifierType state,
                     Keys* k) -> gboolean {
        const auto action = keyAction(key, state, k->fullscreenAllowed);
        return action && run(k->window, *action) ? TRUE : FALSE;
      }),
      keys, +[](gpointer data, GClosure*) { delete static_cast<Keys*>(data); },
      static_cast<GConnectFlags>(0));
  gtk_widget_add_controller(window, controller);
  watchDialogs(window);
}

}  // namespace vexloweb::shell
