// The window's chrome: the navigation bar, side menu, tabs, loader, error page, ad placeholders,
// splash and their colours. Whatever a configuration holds, none of it widens or lengthens the
// window: labels wrap anywhere or are ellipsized, and the side menu scrolls.
#include "app_icon.hpp"
#include "colour_assets.hpp"
#include "key_bindings.hpp"
#include "vexloweb/gtk.hpp"
#include "window_parts.hpp"

namespace vexloweb::shell {
namespace {

// The desktop's symbolic icons for the bar's buttons.
const char* buttonIcon(ButtonAction action) {
  switch (action) {
    case ButtonAction::kSideMenu:
      return "open-menu-symbolic";
    case ButtonAction::kReload:
      return "view-refresh-symbolic";
    case ButtonAction::kShare:
      return "send-to-symbolic";
    case ButtonAction::kHome:
      return "go-home-symbolic";
    case ButtonAction::kNavigation:
      return "go-previous-symbolic";
    case ButtonAction::kNone:
      break;
  }
  return "";
}

// Calls `onClick(self, index)` when the button is clicked.
void onIndexedClick(GtkWidget* button, std::size_t index, ShellWindow::Impl* self,
                    void (*onClick)(ShellWindow::Impl*, std::size_t)) {
  g_object_set_data(G_OBJECT(button), "index", GSIZE_TO_POINTER(index));
  g_object_set_data(G_OBJECT(button), "on-click", reinterpret_cast<gpointer>(onClick));
  g_signal_connect(button, "clicked", G_CALLBACK(+[](GtkWidget* b, ShellWindow::Impl* s) {
                     auto* call = reinterpret_cast<void (*)(ShellWindow::Impl*, std::size_t)>(
                         g_object_get_data(G_OBJECT(b), "on-click"));
                     call(s, GPOINTER_TO_SIZE(g_object_get_data(G_OBJECT(b), "index")));
                   }),
                   self);
}

// What a screen reader reads for `widget`: its whole text, however little of it a label shows.
void nameFor(GtkWidget* widget, const std::string& name) {
  gtk_accessible_update_property(GTK_ACCESSIBLE(widget), GTK_ACCESSIBLE_PROPERTY_LABEL,
                                 name.c_str(), -1);
}

}  // namespace

void nameIconButton(GtkWidget* button, std::string_view name) {
  const std::string text(name);
  gtk_widget_set_tooltip_text(button, text.c_str());
  nameFor(button, text);
}

GtkWidget* fittedLabel(const std::string& text, Fit fit, const char* cssClass) {
  GtkWidget* widget = gtk_label_new(text.c_str());
  if (fit == Fit::kWrap) {
    gtk_label_set_wrap(GTK_LABEL(widget), TRUE);
    gtk_label_set_wrap_mode(GTK_LABEL(widget), PANGO_WRAP_WORD_CHAR);
  } else {
    gtk_label_set_ellipsize(GTK_LABEL(widget), PANGO_ELLIPSIZE_END);
    gtk_label_set_single_line_mode(GTK_LABEL(widget), TRUE);
  }
  if (cssClass != nullptr) gtk_widget_add_css_class(widget, cssClass);
  return widget;
}

void ShellWindow::Impl::buildBar(GtkWidget* root) {
  bar = gtk_center_box_new();
  gtk_widget_add_css_class(bar, "vexloweb-bar");
  if (!model.barStyle.empty()) gtk_widget_add_css_class(bar, model.barStyle.c_str());
  leftButton = barButton(model.left);
  rightButton = barButton(model.right);
  gtk_center_box_set_start_widget(GTK_CENTER_BOX(bar), leftButton);
  gtk_center_box_set_end_widget(GTK_CENTER_BOX(bar), rightButton);
  GtkWidget* middle = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 8);
  if (model.navigationBar == NavigationBar::kLogo) {
    GtkWidget* logo = fittedLabel(badgeLetter(model.title), Fit::kEllipsize, "vexloweb-logo");
    gtk_widget_set_valign(logo, GTK_ALIGN_CENTER);
    gtk_box_append(GTK_BOX(middle), logo);
  }
  gtk_box_append(GTK_BOX(middle), fittedLabel(model.title, Fit::kEllipsize, "vexloweb-title"));
  gtk_center_box_set_center_widget(GTK_CENTER_BOX(bar), middle);
  gtk_box_append(GTK_BOX(root), bar);
  if (model.navigationBar == NavigationBar::kHidden) gtk::setVisibilityState(bar, "gone");
}

GtkWidget* ShellWindow::Impl::barButton(ButtonAction action) {
  GtkWidget* button = gtk_button_new_from_icon_name(buttonIcon(action));
  nameIconButton(button, buttonName(action));
  gtk_widget_add_css_class(button, "flat");
  gtk_widget_add_css_class(button, "vexloweb-bar-button");
  onIndexedClick(button, static_cast<std::size_t>(action), this,
                 [](Impl* self, std::size_t a) { self->act(static_cast<ButtonAction>(a)); });
  if (action == ButtonAction::kNone) gtk::setVisibilityState(button, "gone");
  return button;
}

void ShellWindow::Impl::buildSideMenu(GtkWidget* parent) {
  sideMenu = gtk_revealer_new();
  gtk_revealer_set_transition_type(GTK_REVEALER(sideMenu),
                                   GTK_REVEALER_TRANSITION_TYPE_SLIDE_RIGHT);
  GtkWidget* panel = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
  gtk_widget_set_size_request(panel, std::min(220, options.width / 2), -1);
  gtk_widget_add_css_class(panel, "vexloweb-menu");
  nameFor(panel, model.menuTitle.empty() ? "Menu" : model.menuTitle);
  GtkWidget* header = gtk_box_new(GTK_ORIENTATION_VERTICAL, 4);
  gtk_widget_add_css_class(header, "vexloweb-menu-header");
  gtk_box_append(GTK_BOX(header), fittedLabel(model.menuTitle, Fit::kWrap, "title-4"));
  if (!model.menuDetails.empty()) {
    gtk_box_append(GTK_BOX(header), fittedLabel(model.menuDetails, Fit::kWrap));
  }
  gtk_box_append(GTK_BOX(panel), header);
  // The entries scroll inside the window, however many there are.
  GtkWidget* entries = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
  for (std::size_t i = 0; i < model.menu.size(); ++i) {
    GtkWidget* entry = gtk_button_new();
    gtk_button_set_child(GTK_BUTTON(entry), fittedLabel(model.menu[i].label, Fit::kEllipsize));
    nameFor(entry, model.menu[i].label);
    gtk_widget_add_css_class(entry, "flat");
    gtk_widget_add_css_class(entry, "vexloweb-menu-entry");
    onIndexedClick(entry, i, this, [](Impl* self, std::size_t index) { self->choose(index); });
    gtk_box_append(GTK_BOX(entries), entry);
  }
  GtkWidget* scroll = gtk_scrolled_window_new();
  gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scroll), GTK_POLICY_NEVER,
                                 GTK_POLICY_AUTOMATIC);
  gtk_scrolled_window_set_child(GTK_SCROLLED_WINDOW(scroll), entries);
  gtk_widget_set_vexpand(scroll, TRUE);
  gtk_box_append(GTK_BOX(panel), scroll);
  gtk_revealer_set_child(GTK_REVEALER(sideMenu), panel);
  gtk_box_append(GTK_BOX(parent), sideMenu);
}

void ShellWindow::Impl::buildLoaderAndErrors(GtkWidget* overlay) {
  loader = gtk_box_new(GTK_ORIENTATION_VERTICAL, 8);
  gtk_widget_add_css_class(loader, "vexloweb-loader");
  gtk_widget_add_css_class(loader, model.loaderStyle.c_str());
  gtk_widget_set_halign(loader, GTK_ALIGN_CENTER);
  gtk_widget_set_valign(loader, GTK_ALIGN_CENTER);
  GtkWidget* spinner = gtk_spinner_new();
  gtk_spinner_start(GTK_SPINNER(spinner));
  gtk_widget_set_size_request(spinner, 32, 32);
  gtk_box_append(GTK_BOX(loader), spinner);
  if (!model.loadingText.empty()) {
    gtk_box_append(GTK_BOX(loader), fittedLabel(model.loadingText, Fit::kWrap));
  }
  gtk_overlay_add_overlay(GTK_OVERLAY(overlay), loader);
  gtk::setVisibilityState(loader, "gone");

  // Announced when it shows, named by its title.
  errorPage =
      GTK_WIDGET(g_object_new(GTK_TYPE_BOX, "orientation", GTK_ORIENTATION_VERTICAL, "spacing", 12,
                              "accessible-role", GTK_ACCESSIBLE_ROLE_ALERT, nullptr));
  gtk_widget_add_css_class(errorPage, "vexloweb-error");
  gtk_widget_set_valign(errorPage, GTK_ALIGN_FILL);
  errorTitle = fittedLabel("", Fit::kWrap, "title-2");
  errorText = fittedLabel("", Fit::kWrap);
  errorReason = fittedLabel("", Fit::kWrap, "dim-label");  // why, under the configured texts
  gtk_widget_set_margin_top(errorTitle, 120);
  for (GtkWidget* line : {errorTitle, errorText, errorReason}) {
    gtk_box_append(GTK_BOX(errorPage), line);
  }
  gtk_accessible_update_relation(GTK_ACCESSIBLE(errorPage), GTK_ACCESSIBLE_RELATION_LABELLED_BY,
                                 errorTitle, nullptr, -1);
  GtkWidget* retry = gtk_button_new();
  gtk_button_set_child(GTK_BUTTON(retry), fittedLabel(model.tryAgain, Fit::kEllipsize));
  nameFor(retry, model.tryAgain);
  gtk_widget_set_halign(retry, GTK_ALIGN_CENTER);
  gtk_widget_add_css_class(retry, "vexloweb-retry");
  g_signal_connect_swapped(retry, "clicked", G_CALLBACK(+[](Impl* self) { self->reload(); }), this);
  gtk_box_append(GTK_BOX(errorPage), retry);
  gtk_overlay_add_overlay(GTK_OVERLAY(overlay), errorPage);
  gtk::setVisibilityState(errorPage, "gone");
}

void ShellWindow::Impl::buildAds(GtkWidget* root) {
  for (const auto& [network, key] :
       {std::pair{"AdMob", model.admobBanner}, std::pair{"Audience Network", model.fbBanner}}) {
    if (!key || key->empty()) continue;
    GtkWidget* banner =
        fittedLabel(std::string("Ad banner (") + network + ")", Fit::kEllipsize, "vexloweb-ad");
    gtk_widget_set_size_request(banner, std::min(320, options.width), 50);
    gtk_widget_set_halign(banner, GTK_ALIGN_CENTER);
    gtk_box_append(GTK_BOX(root), banner);
  }
}

void ShellWindow::Impl::buildTabs(GtkWidget* root) {
  tabBar = GTK_WIDGET(g_object_new(GTK_TYPE_BOX, "orientation", GTK_ORIENTATION_HORIZONTAL,
                                   "accessible-role", GTK_ACCESSIBLE_ROLE_TAB_LIST, nullptr));
  nameFor(tabBar, "Tabs");
  gtk_box_set_homogeneous(GTK_BOX(tabBar), TRUE);
  gtk_widget_add_css_class(tabBar, "vexloweb-tabs");
  GtkIconTheme* icons = gtk_icon_theme_get_for_display(gdk_display_get_default());
  for (std::size_t i = 0; i < model.tabs.size(); ++i) {
    GtkWidget* content = gtk_box_new(GTK_ORIENTATION_VERTICAL, 2);
    const auto& icon = model.tabs[i].icon;
    if (icon && !icon->empty() && gtk_icon_theme_has_icon(icons, icon->c_str())) {
      gtk_box_append(GTK_BOX(content), gtk_image_new_from_icon_name(icon->c_str()));
    }
    gtk_box_append(GTK_BOX(content), fittedLabel(model.tabs[i].label, Fit::kEllipsize));
    GtkWidget* tab = GTK_WIDGET(
        g_object_new(GTK_TYPE_BUTTON, "accessible-role", GTK_ACCESSIBLE_ROLE_TAB, nullptr));
    gtk_button_set_child(GTK_BUTTON(tab), content);
    nameFor(tab, model.tabs[i].label);
    gtk_widget_add_css_class(tab, "flat");
    onIndexedClick(tab, i, this, [](Impl* self, std::size_t index) {
      if (const auto& url = self->model.tabs[index].url) self->load(*url);
    });
    gtk_box_append(GTK_BOX(tabBar), tab);
  }
  gtk_box_append(GTK_BOX(root), tabBar);
  if (model.tabs.empty()) gtk::setVisibilityState(tabBar, "gone");
}

void ShellWindow::Impl::buildSplash(GtkWidget* overlay) {
  splash = gtk_box_new(GTK_ORIENTATION_VERTICAL, 16);
  gtk_widget_add_css_class(splash, "vexloweb-splash");
  nameFor(splash, model.title);
  GtkWidget* quote = fittedLabel(model.splashQuote, Fit::kWrap, "title-2");
  gtk_widget_set_vexpand(quote, TRUE);
  gtk_box_append(GTK_BOX(splash), quote);
  gtk_box_append(GTK_BOX(splash),
                 fittedLabel(model.splashFooter, Fit::kWrap, "vexloweb-splash-footer"));
  gtk_overlay_add_overlay(GTK_OVERLAY(overlay), splash);
  if (model.splash == Splash::kNone) {
    gtk::setVisibilityState(splash, "gone");
    splashDone = true;
  }
}

void ShellWindow::Impl::applyColours() const {
  const WindowColours& c = model.colours;
  const std::string bar = c.gradient ? "linear-gradient(to bottom, " + c.primary + " 0%, " +
                                           c.primary + " 45%, " + c.dark + " 100%)"
                                     : c.primary;
  // Text takes black or white, whichever reads better on the colour behind it; on a gradient
  // bar, the one whose worse end is better.
  const auto onBar = [&] {
    const auto worst = [&](std::string_view text) {
      return std::min(contrastRatio(text, c.primary), contrastRatio(text, c.dark));
    };
    return worst("#000000") >= worst("#ffffff") ? std::string("#000000") : std::string("#ffffff");
  }();
  const std::string onPrimary(readableTextOn(c.primary));
  const std::string onDark(readableTextOn(c.dark));
  const std::string rules =
      ".vexloweb-bar { background: " + bar + "; color: " + onBar +
      "; min-height: 48px; }\n"
      ".vexloweb-bar label, .vexloweb-bar button { color: " +
      onBar +
      "; }\n"
      ".vexloweb-bar-button image { -gtk-icon-size: 24px; }\n"
      ".vexloweb-logo { background: " +
      c.dark + "; color: " + onDark +
      "; border-radius: 12px; padding: 2px 8px; }\n"
      ".vexloweb-title { font-weight: bold; }\n"
      ".vexloweb-menu { background: white; color: black; }\n"
      ".vexloweb-menu-header { background: " +
      c.dark + "; color: " + onDark +
      "; padding: 16px; }\n"
      ".vexloweb-tabs { background: " +
      c.primary +
      "; min-height: 44px; }\n"
      ".vexloweb-tabs button { color: " +
      onPrimary +
      "; }\n"
      ".vexloweb-splash { background: " +
      c.primary + "; color: " + onPrimary +
      "; padding: 24px; }\n"
      ".vexloweb-error { background: white; color: black; padding: 24px; }\n"
      ".vexloweb-loader { background: rgba(255,255,255,0.85); color: black; padding: 16px; "
      "border-radius: 8px; }\n"
      ".vexloweb-ad { background: #c8c8c8; color: #333333; border: 1px dashed #555555; }\n";
  gtk_css_provider_load_from_data(css, rules.c_str(), -1);
}

}  // namespace vexloweb::shell
