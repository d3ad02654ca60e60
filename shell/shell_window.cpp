#include "shell_window.hpp"

#include <webkit/webkit.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "json_text.hpp"
#include "routing.hpp"
#include "vexloweb/constants/constants.hpp"
#include "vexloweb/constants/options.hpp"
#include "vexloweb/constants/themes.hpp"
#include "vexloweb/gtk.hpp"
#include "vexloweb/platform/file.hpp"
#include "web_session.hpp"

namespace vexloweb::shell {
namespace {

// A phone's user agent, for sites that serve their mobile pages when desktop_mood is off.
constexpr char kPhoneAgent[] =
    "Mozilla/5.0 (Linux; Android 14; Pixel 8) AppleWebKit/537.36 (KHTML, like Gecko) "
    "Chrome/124.0 Mobile Safari/537.36";
constexpr int kReadyTimeoutSeconds = 20;
constexpr int kSettleMilliseconds = 800;  // for the first page's scripts before a preview

GtkWidget* label(const std::string& text, const char* cssClass = nullptr) {
  GtkWidget* widget = gtk_label_new(text.c_str());
  gtk_label_set_wrap(GTK_LABEL(widget), TRUE);
  if (cssClass != nullptr) gtk_widget_add_css_class(widget, cssClass);
  return widget;
}

std::string buttonText(ButtonAction action) {
  switch (action) {
    case ButtonAction::kSideMenu:
      return "\u2630";
    case ButtonAction::kReload:
      return "\u27f3";
    case ButtonAction::kShare:
      return "Share";
    case ButtonAction::kHome:
      return "\u2302";
    case ButtonAction::kNavigation:
      return "\u2039";
    case ButtonAction::kNone:
      break;
  }
  return "";
}

const char* openWord(Open open) {
  return open == Open::EXTERNAL ? "EXTERNAL" : open == Open::CUSTOM_TAB ? "CUSTOM_TAB" : "INSIDE";
}

}  // namespace

struct ShellWindow::Impl {
  AppModel model;
  platform::UserDefaults& defaults;
  ShellOptions options;

  GtkWidget* window = nullptr;
  GtkWidget* bar = nullptr;
  GtkWidget* leftButton = nullptr;
  GtkWidget* rightButton = nullptr;
  GtkWidget* sideMenu = nullptr;  // a revealer
  GtkWidget* web = nullptr;
  GtkWidget* loader = nullptr;
  GtkWidget* errorPage = nullptr;
  GtkWidget* errorTitle = nullptr;
  GtkWidget* errorText = nullptr;
  GtkWidget* tabBar = nullptr;
  GtkWidget* splash = nullptr;
  GtkCssProvider* css = nullptr;

  struct Route {
    std::string url;
    Open open;
  };
  std::vector<Route> routes;
  std::vector<std::string> permissions;  // the kinds asked for, all refused or asked
  std::vector<std::pair<std::string, std::string>> downloads;  // suggested name, saved path
  std::string shownError;                                      // "", "error" or "no_internet"

  bool splashDone = false;
  bool firstLoadDone = false;
  bool readyRun = false;
  gint64 loadStarted = 0;
  guint retryTimer = 0;
  std::function<void()> ready;

  Impl(AppModel m, platform::UserDefaults& d, ShellOptions o)
      : model(std::move(m)), defaults(d), options(o) {}

  // --- building ---------------------------------------------------------------------------

  void build() {
    window = gtk_window_new();
    gtk_window_set_title(GTK_WINDOW(window), model.title.c_str());
    gtk_window_set_default_size(GTK_WINDOW(window), options.width, options.height);
    if (options.preview) gtk_window_set_decorated(GTK_WINDOW(window), FALSE);
    css = gtk_css_provider_new();
    gtk_style_context_add_provider_for_display(gdk_display_get_default(), GTK_STYLE_PROVIDER(css),
                                               GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    applyColours();

    GtkWidget* root = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    buildBar(root);
    GtkWidget* middle = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 0);
    gtk_widget_set_vexpand(middle, TRUE);
    buildSideMenu(middle);
    GtkWidget* content = gtk_overlay_new();
    gtk_widget_set_hexpand(content, TRUE);
    buildWebView(content);
    buildLoaderAndErrors(content);
    gtk_box_append(GTK_BOX(middle), content);
    gtk_box_append(GTK_BOX(root), middle);
    buildAds(root);
    buildTabs(root);

    // The splash covers the window (FULL_SCREEN) or the content below the bar (STANDER).
    GtkWidget* top = gtk_overlay_new();
    gtk_overlay_set_child(GTK_OVERLAY(top), root);
    buildSplash(model.splash == Splash::kFullScreen ? top : content);
    gtk_window_set_child(GTK_WINDOW(window), top);
  }

  void buildBar(GtkWidget* root) {
    bar = gtk_center_box_new();
    gtk_widget_add_css_class(bar, "vexloweb-bar");
    if (!model.barStyle.empty()) gtk_widget_add_css_class(bar, model.barStyle.c_str());
    leftButton = barButton(model.left);
    rightButton = barButton(model.right);
    gtk_center_box_set_start_widget(GTK_CENTER_BOX(bar), leftButton);
    gtk_center_box_set_end_widget(GTK_CENTER_BOX(bar), rightButton);
    GtkWidget* middle = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 8);
    if (model.navigationBar == NavigationBar::kLogo) {
      const std::string initial = model.title.empty() ? "V" : model.title.substr(0, 1);
      GtkWidget* logo = label(initial, "vexloweb-logo");
      gtk_widget_set_valign(logo, GTK_ALIGN_CENTER);
      gtk_box_append(GTK_BOX(middle), logo);
    }
    GtkWidget* title = label(model.title, "vexloweb-title");
    gtk_label_set_wrap(GTK_LABEL(title), FALSE);
    gtk_label_set_ellipsize(GTK_LABEL(title), PANGO_ELLIPSIZE_END);
    gtk_box_append(GTK_BOX(middle), title);
    gtk_center_box_set_center_widget(GTK_CENTER_BOX(bar), middle);
    gtk_box_append(GTK_BOX(root), bar);
    if (model.navigationBar == NavigationBar::kHidden) gtk::setVisibilityState(bar, "gone");
  }

  GtkWidget* barButton(ButtonAction action) {
    GtkWidget* button = gtk_button_new_with_label(buttonText(action).c_str());
    gtk_widget_add_css_class(button, "flat");
    g_object_set_data(G_OBJECT(button), "action", GINT_TO_POINTER(static_cast<int>(action)));
    g_signal_connect(button, "clicked", G_CALLBACK(+[](GtkWidget* b, Impl* self) {
                       self->act(static_cast<ButtonAction>(
                           GPOINTER_TO_INT(g_object_get_data(G_OBJECT(b), "action"))));
                     }),
                     this);
    if (action == ButtonAction::kNone) gtk::setVisibilityState(button, "gone");
    return button;
  }

  void buildSideMenu(GtkWidget* parent) {
    sideMenu = gtk_revealer_new();
    gtk_revealer_set_transition_type(GTK_REVEALER(sideMenu),
                                     GTK_REVEALER_TRANSITION_TYPE_SLIDE_RIGHT);
    GtkWidget* panel = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    gtk_widget_set_size_request(panel, 220, -1);
    gtk_widget_add_css_class(panel, "vexloweb-menu");
    GtkWidget* header = gtk_box_new(GTK_ORIENTATION_VERTICAL, 4);
    gtk_widget_add_css_class(header, "vexloweb-menu-header");
    gtk_box_append(GTK_BOX(header), label(model.menuTitle, "title-4"));
    if (!model.menuDetails.empty()) gtk_box_append(GTK_BOX(header), label(model.menuDetails));
    gtk_box_append(GTK_BOX(panel), header);
    for (std::size_t i = 0; i < model.menu.size(); ++i) {
      GtkWidget* entry = gtk_button_new_with_label(model.menu[i].label.c_str());
      gtk_widget_add_css_class(entry, "flat");
      g_object_set_data(G_OBJECT(entry), "index", GSIZE_TO_POINTER(i));
      g_signal_connect(entry, "clicked", G_CALLBACK(+[](GtkWidget* b, Impl* self) {
                         self->choose(GPOINTER_TO_SIZE(g_object_get_data(G_OBJECT(b), "index")));
                       }),
                       this);
      gtk_box_append(GTK_BOX(panel), entry);
    }
    gtk_revealer_set_child(GTK_REVEALER(sideMenu), panel);
    gtk_box_append(GTK_BOX(parent), sideMenu);
  }

  void buildWebView(GtkWidget* overlay) {
    WebKitNetworkSession* session = makeNetworkSession(options.websiteData, options.websiteCache);
    web = GTK_WIDGET(g_object_new(WEBKIT_TYPE_WEB_VIEW, "network-session", session, nullptr));
    g_object_unref(session);
    WebKitSettings* settings = webkit_web_view_get_settings(WEBKIT_WEB_VIEW(web));
    webkit_settings_set_enable_javascript(settings, model.javascript);
    webkit_settings_set_allow_file_access_from_file_urls(settings, FALSE);
    webkit_settings_set_allow_universal_access_from_file_urls(settings, FALSE);
    webkit_settings_set_javascript_can_open_windows_automatically(settings, FALSE);
    if (!model.desktopAgent) webkit_settings_set_user_agent(settings, kPhoneAgent);
    gtk_widget_set_vexpand(web, TRUE);
    gtk_overlay_set_child(GTK_OVERLAY(overlay), web);
    g_signal_connect(web, "decide-policy", G_CALLBACK(onDecidePolicy), this);
    g_signal_connect(web, "load-changed", G_CALLBACK(onLoadChanged), this);
    g_signal_connect(web, "load-failed", G_CALLBACK(onLoadFailed), this);
    g_signal_connect(web, "load-failed-with-tls-errors", G_CALLBACK(onTlsError), this);
    g_signal_connect(web, "permission-request", G_CALLBACK(onPermission), this);
    g_signal_connect(webkit_web_view_get_network_session(WEBKIT_WEB_VIEW(web)), "download-started",
                     G_CALLBACK(onDownload), this);
    if (model.zoom) addZoomKeys();
  }

  void addZoomKeys() {
    GtkEventController* keys = gtk_event_controller_key_new();
    g_signal_connect(keys, "key-pressed",
                     G_CALLBACK(+[](GtkEventControllerKey*, guint key, guint, GdkModifierType state,
                                    Impl* self) -> gboolean {
                       if ((state & GDK_CONTROL_MASK) == 0) return FALSE;
                       auto* view = WEBKIT_WEB_VIEW(self->web);
                       const double zoom = webkit_web_view_get_zoom_level(view);
                       if (key == GDK_KEY_plus || key == GDK_KEY_equal) {
                         webkit_web_view_set_zoom_level(view, zoom * 1.1);
                       } else if (key == GDK_KEY_minus) {
                         webkit_web_view_set_zoom_level(view, zoom / 1.1);
                       } else if (key == GDK_KEY_0) {
                         webkit_web_view_set_zoom_level(view, 1.0);
                       } else {
                         return FALSE;
                       }
                       return TRUE;
                     }),
                     this);
    gtk_widget_add_controller(window, keys);
  }

  void buildLoaderAndErrors(GtkWidget* overlay) {
    loader = gtk_box_new(GTK_ORIENTATION_VERTICAL, 8);
    gtk_widget_add_css_class(loader, "vexloweb-loader");
    gtk_widget_add_css_class(loader, model.loaderStyle.c_str());
    gtk_widget_set_halign(loader, GTK_ALIGN_CENTER);
    gtk_widget_set_valign(loader, GTK_ALIGN_CENTER);
    GtkWidget* spinner = gtk_spinner_new();
    gtk_spinner_start(GTK_SPINNER(spinner));
    gtk_widget_set_size_request(spinner, 32, 32);
    gtk_box_append(GTK_BOX(loader), spinner);
    if (!model.loadingText.empty()) gtk_box_append(GTK_BOX(loader), label(model.loadingText));
    gtk_overlay_add_overlay(GTK_OVERLAY(overlay), loader);
    gtk::setVisibilityState(loader, "gone");

    errorPage = gtk_box_new(GTK_ORIENTATION_VERTICAL, 12);
    gtk_widget_add_css_class(errorPage, "vexloweb-error");
    gtk_widget_set_valign(errorPage, GTK_ALIGN_FILL);
    errorTitle = label("", "title-2");
    errorText = label("");
    gtk_widget_set_margin_top(errorTitle, 120);
    gtk_box_append(GTK_BOX(errorPage), errorTitle);
    gtk_box_append(GTK_BOX(errorPage), errorText);
    GtkWidget* retry = gtk_button_new_with_label(model.tryAgain.c_str());
    gtk_widget_set_halign(retry, GTK_ALIGN_CENTER);
    gtk_widget_add_css_class(retry, "vexloweb-retry");
    g_signal_connect_swapped(retry, "clicked", G_CALLBACK(+[](Impl* self) { self->reload(); }),
                             this);
    gtk_box_append(GTK_BOX(errorPage), retry);
    gtk_overlay_add_overlay(GTK_OVERLAY(overlay), errorPage);
    gtk::setVisibilityState(errorPage, "gone");
  }

  void buildAds(GtkWidget* root) {
    for (const auto& [network, key] :
         {std::pair{"AdMob", model.admobBanner}, std::pair{"Audience Network", model.fbBanner}}) {
      if (!key || key->empty()) continue;
      GtkWidget* banner = label(std::string("Ad banner (") + network + ")", "vexloweb-ad");
      gtk_widget_set_size_request(banner, 320, 50);
      gtk_widget_set_halign(banner, GTK_ALIGN_CENTER);
      gtk_box_append(GTK_BOX(root), banner);
    }
  }

  void buildTabs(GtkWidget* root) {
    tabBar = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 0);
    gtk_box_set_homogeneous(GTK_BOX(tabBar), TRUE);
    gtk_widget_add_css_class(tabBar, "vexloweb-tabs");
    for (std::size_t i = 0; i < model.tabs.size(); ++i) {
      GtkWidget* tab = gtk_button_new_with_label(model.tabs[i].label.c_str());
      gtk_widget_add_css_class(tab, "flat");
      g_object_set_data(G_OBJECT(tab), "index", GSIZE_TO_POINTER(i));
      g_signal_connect(
          tab, "clicked", G_CALLBACK(+[](GtkWidget* b, Impl* self) {
            const auto& url =
                self->model.tabs[GPOINTER_TO_SIZE(g_object_get_data(G_OBJECT(b), "index"))].url;
            if (url) self->load(*url);
          }),
          this);
      gtk_box_append(GTK_BOX(tabBar), tab);
    }
    gtk_box_append(GTK_BOX(root), tabBar);
    if (model.tabs.empty()) gtk::setVisibilityState(tabBar, "gone");
  }

  void buildSplash(GtkWidget* overlay) {
    splash = gtk_box_new(GTK_ORIENTATION_VERTICAL, 16);
    gtk_widget_add_css_class(splash, "vexloweb-splash");
    GtkWidget* quote = label(model.splashQuote, "title-2");
    gtk_widget_set_vexpand(quote, TRUE);
    gtk_box_append(GTK_BOX(splash), quote);
    gtk_box_append(GTK_BOX(splash), label(model.splashFooter, "vexloweb-splash-footer"));
    gtk_overlay_add_overlay(GTK_OVERLAY(overlay), splash);
    if (model.splash == Splash::kNone) {
      gtk::setVisibilityState(splash, "gone");
      splashDone = true;
    }
  }

  void applyColours() const {
    const WindowColours& c = model.colours;
    const std::string bar = c.gradient ? "linear-gradient(to bottom, " + c.primary + " 0%, " +
                                             c.primary + " 45%, " + c.dark + " 100%)"
                                       : c.primary;
    const std::string rules =
        ".vexloweb-bar { background: " + bar +
        "; color: white; min-height: 48px; }\n"
        ".vexloweb-bar label, .vexloweb-bar button { color: white; }\n"
        ".vexloweb-logo { background: " +
        c.dark +
        "; border-radius: 12px; padding: 2px 8px; }\n"
        ".vexloweb-title { font-weight: bold; }\n"
        ".vexloweb-menu { background: white; }\n"
        ".vexloweb-menu-header { background: " +
        c.dark +
        "; color: white; padding: 16px; }\n"
        ".vexloweb-tabs { background: " +
        c.primary +
        "; min-height: 44px; }\n"
        ".vexloweb-tabs button { color: white; }\n"
        ".vexloweb-splash { background: " +
        c.primary +
        "; color: white; padding: 24px; }\n"
        ".vexloweb-error { background: white; padding: 24px; }\n"
        ".vexloweb-loader { background: rgba(255,255,255,0.85); padding: 16px; "
        "border-radius: 8px; }\n"
        ".vexloweb-ad { background: #c8c8c8; color: #555555; border: 1px dashed #555555; }\n";
    gtk_css_provider_load_from_data(css, rules.c_str(), -1);
  }

  // --- behaviour --------------------------------------------------------------------------

  void load(const std::string& url) {
    hideError();
    webkit_web_view_load_uri(WEBKIT_WEB_VIEW(web), url.c_str());
  }

  void reload() {
    hideError();
    const char* uri = webkit_web_view_get_uri(WEBKIT_WEB_VIEW(web));
    if (uri == nullptr || std::string_view(uri).empty() || std::string_view(uri) == "about:blank") {
      load(model.baseUrl);
    } else {
      webkit_web_view_reload(WEBKIT_WEB_VIEW(web));
    }
  }

  void handToDesktop(const std::string& url) const {
    if (options.preview) return;  // a preview opens nothing outside itself
    g_app_info_launch_default_for_uri(url.c_str(), nullptr, nullptr);
  }

  void act(ButtonAction action) {
    switch (action) {
      case ButtonAction::kSideMenu:
        gtk_revealer_set_reveal_child(GTK_REVEALER(sideMenu),
                                      !gtk_revealer_get_reveal_child(GTK_REVEALER(sideMenu)));
        break;
      case ButtonAction::kReload:
        reload();
        break;
      case ButtonAction::kShare: {
        const char* uri = webkit_web_view_get_uri(WEBKIT_WEB_VIEW(web));
        handToDesktop(uri != nullptr ? uri : model.baseUrl);
        break;
      }
      case ButtonAction::kHome:
        load(model.baseUrl);
        break;
      case ButtonAction::kNavigation:
        if (webkit_web_view_can_go_back(WEBKIT_WEB_VIEW(web))) {
          webkit_web_view_go_back(WEBKIT_WEB_VIEW(web));
        }
        break;
      case ButtonAction::kNone:
        break;
    }
  }

  void choose(std::size_t index) {
    const MenuEntry& entry = model.menu[index];
    gtk_revealer_set_reveal_child(GTK_REVEALER(sideMenu), FALSE);
    if (!entry.command) {
      if (entry.url) load(*entry.url);
      return;
    }
    switch (*entry.command) {
      case Command::kHome:
        load(model.baseUrl);
        break;
      case Command::kTheme:
        showThemes();
        break;
      case Command::kAbout:
        showAbout();
        break;
      case Command::kRate:
        handToDesktop(entry.url && !entry.url->empty() ? *entry.url
                      : !model.aboutWebsite.empty()    ? model.aboutWebsite
                                                       : model.baseUrl);
        break;
      case Command::kShare:
        handToDesktop(model.baseUrl);
        break;
      case Command::kExit:
        gtk_window_destroy(GTK_WINDOW(window));
        break;
    }
  }

  GtkWidget* dialog(const std::string& title) {
    GtkWidget* dialog = gtk_window_new();
    gtk_window_set_title(GTK_WINDOW(dialog), title.c_str());
    gtk_window_set_transient_for(GTK_WINDOW(dialog), GTK_WINDOW(window));
    gtk_window_set_modal(GTK_WINDOW(dialog), TRUE);
    gtk_window_set_default_size(GTK_WINDOW(dialog), 320, 420);
    return dialog;
  }

  void showAbout() {
    GtkWidget* about = dialog("About " + model.title);
    GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 8);
    gtk_widget_set_margin_start(box, 16);
    gtk_widget_set_margin_end(box, 16);
    gtk_widget_set_margin_top(box, 16);
    for (const std::string* line :
         {&model.aboutText, &model.aboutEmail, &model.aboutMobile, &model.aboutWebsite}) {
      if (!line->empty()) gtk_box_append(GTK_BOX(box), label(*line));
    }
    gtk_window_set_child(GTK_WINDOW(about), box);
    gtk_window_present(GTK_WINDOW(about));
  }

  void showThemes() {
    GtkWidget* picker = dialog("Theme");
    GtkWidget* list = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    for (const std::string_view theme : themeNames()) {
      GtkWidget* choice = gtk_button_new_with_label(std::string(theme).c_str());
      gtk_widget_add_css_class(choice, "flat");
      g_object_set_data_full(G_OBJECT(choice), "theme", g_strdup(std::string(theme).c_str()),
                             g_free);
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

  void pickTheme(const std::string& theme) {
    defaults.setObject(theme, Constants::KEY_THEME);
    model.colours = windowColours(std::nullopt, std::nullopt, theme);
    applyColours();
  }

  void record(const std::string& url, Open open) { routes.push_back({url, open}); }

  void openCustomTab(const std::string& url) {
    GtkWidget* tab = gtk_window_new();
    gtk_window_set_transient_for(GTK_WINDOW(tab), GTK_WINDOW(window));
    gtk_window_set_default_size(GTK_WINDOW(tab), options.width, options.height);
    GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    GtkWidget* header = gtk_center_box_new();
    gtk_widget_add_css_class(header, "vexloweb-bar");
    GtkWidget* close = gtk_button_new_with_label("\u2715");
    gtk_widget_add_css_class(close, "flat");
    g_signal_connect_swapped(close, "clicked", G_CALLBACK(gtk_window_destroy), tab);
    gtk_center_box_set_start_widget(GTK_CENTER_BOX(header), close);
    gtk_center_box_set_center_widget(GTK_CENTER_BOX(header), label(url));
    gtk_box_append(GTK_BOX(box), header);
    // The app's own session: a custom tab keeps nothing anywhere else.
    GtkWidget* view = GTK_WIDGET(
        g_object_new(WEBKIT_TYPE_WEB_VIEW, "network-session",
                     webkit_web_view_get_network_session(WEBKIT_WEB_VIEW(web)), nullptr));
    WebKitSettings* settings = webkit_web_view_get_settings(WEBKIT_WEB_VIEW(view));
    webkit_settings_set_allow_file_access_from_file_urls(settings, FALSE);
    webkit_settings_set_allow_universal_access_from_file_urls(settings, FALSE);
    gtk_widget_set_vexpand(view, TRUE);
    gtk_box_append(GTK_BOX(box), view);
    gtk_window_set_child(GTK_WINDOW(tab), box);
    webkit_web_view_load_uri(WEBKIT_WEB_VIEW(view), url.c_str());
    gtk_window_present(GTK_WINDOW(tab));
  }

  void showError(bool offline) {
    shownError = offline ? "no_internet" : "error";
    gtk_label_set_text(GTK_LABEL(errorTitle),
                       (offline ? model.noInternetTitle : model.errorTitle).c_str());
    gtk_label_set_text(GTK_LABEL(errorText),
                       (offline ? model.noInternetDetails : model.errorText).c_str());
    gtk::setVisibilityState(errorPage, "visible");
    if (offline && retryTimer == 0) {
      retryTimer = g_timeout_add_seconds(
          static_cast<guint>(model.noInternetSeconds),
          +[](gpointer self) -> gboolean {
            static_cast<Impl*>(self)->retryTimer = 0;
            static_cast<Impl*>(self)->reload();
            return G_SOURCE_REMOVE;
          },
          this);
    }
  }

  void hideError() {
    shownError.clear();
    gtk::setVisibilityState(errorPage, "gone");
  }

  void finishLoading() {
    // The indicator stays at least loader_delay seconds from the start of the load.
    const gint64 shownFor = g_get_monotonic_time() - loadStarted;
    const gint64 rest = static_cast<gint64>(model.loaderSeconds * G_USEC_PER_SEC) - shownFor;
    if (rest <= 0) {
      gtk::setVisibilityState(loader, "gone");
    } else {
      g_timeout_add(
          static_cast<guint>(rest / 1000),
          +[](gpointer self) -> gboolean {
            gtk::setVisibilityState(static_cast<Impl*>(self)->loader, "gone");
            return G_SOURCE_REMOVE;
          },
          this);
    }
    if (!firstLoadDone) {
      firstLoadDone = true;
      maybeReady();
    }
  }

  void maybeReady() {
    if (!splashDone || !firstLoadDone || readyRun || !ready) return;
    readyRun = true;
    g_timeout_add(
        kSettleMilliseconds,
        +[](gpointer self) -> gboolean {
          static_cast<Impl*>(self)->ready();
          return G_SOURCE_REMOVE;
        },
        this);
  }

  // --- WebKit signals ---------------------------------------------------------------------

  static gboolean onDecidePolicy(WebKitWebView* /*view*/, WebKitPolicyDecision* decision,
                                 WebKitPolicyDecisionType type, Impl* self) {
    if (type != WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION &&
        type != WEBKIT_POLICY_DECISION_TYPE_NEW_WINDOW_ACTION) {
      return FALSE;
    }
    WebKitNavigationAction* action = webkit_navigation_policy_decision_get_navigation_action(
        WEBKIT_NAVIGATION_POLICY_DECISION(decision));
    const std::string url =
        webkit_uri_request_get_uri(webkit_navigation_action_get_request(action));
    const Open open = decideRoute(self->model.rules, url);
    self->record(url, open);
    if (open == Open::INSIDE && type == WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION) {
      webkit_policy_decision_use(decision);
      return TRUE;
    }
    webkit_policy_decision_ignore(decision);
    if (open == Open::INSIDE) {
      self->load(url);  // a new window's address opens in this one
    } else if (open == Open::EXTERNAL) {
      self->handToDesktop(url);
    } else {
      self->openCustomTab(url);
    }
    return TRUE;
  }

  static void onLoadChanged(WebKitWebView* /*view*/, WebKitLoadEvent event, Impl* self) {
    if (event == WEBKIT_LOAD_STARTED) {
      self->loadStarted = g_get_monotonic_time();
      if (self->model.loaderShown) gtk::setVisibilityState(self->loader, "visible");
    } else if (event == WEBKIT_LOAD_FINISHED) {
      self->finishLoading();
    }
  }

  static bool isLocal(const char* uri) {
    GUri* parsed = g_uri_parse(uri, G_URI_FLAGS_NONE, nullptr);
    if (parsed == nullptr) return true;
    const char* host = g_uri_get_host(parsed);
    const std::string name = host != nullptr ? host : "";
    g_uri_unref(parsed);
    return name.empty() || name == "localhost" || name.starts_with("127.") || name == "::1";
  }

  static gboolean onLoadFailed(WebKitWebView* /*view*/, WebKitLoadEvent /*event*/,
                               const char* failingUri, GError* error, Impl* self) {
    if (g_error_matches(error, WEBKIT_NETWORK_ERROR, WEBKIT_NETWORK_ERROR_CANCELLED) ||
        g_error_matches(error, WEBKIT_POLICY_ERROR,
                        WEBKIT_POLICY_ERROR_FRAME_LOAD_INTERRUPTED_BY_POLICY_CHANGE)) {
      return FALSE;  // a navigation we stopped ourselves, or a download
    }
    // Offline: the machine has no network at all; a server that does not answer is an error.
    const bool offline =
        !g_network_monitor_get_network_available(g_network_monitor_get_default()) &&
        !isLocal(failingUri);
    self->showError(offline);
    return TRUE;
  }

  static gboolean onTlsError(WebKitWebView* /*view*/, const char* /*uri*/,
                             GTlsCertificate* /*certificate*/, GTlsCertificateFlags /*errors*/,
                             Impl* self) {
    self->showError(false);  // never ignored
    return TRUE;
  }

  static gboolean onPermission(WebKitWebView* /*view*/, WebKitPermissionRequest* request,
                               Impl* self) {
    self->permissions.emplace_back(G_OBJECT_TYPE_NAME(request));
    if (!self->model.permissionDialog || self->options.preview) {
      webkit_permission_request_deny(request);
      return TRUE;
    }
    GtkWidget* ask = self->dialog("Permission");
    GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 12);
    gtk_box_append(GTK_BOX(box), label("This page asks for a permission (" +
                                       std::string(G_OBJECT_TYPE_NAME(request)) + ")."));
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
    return TRUE;
  }

  static void onDownload(WebKitNetworkSession* /*session*/, WebKitDownload* download, Impl* self) {
    if (!self->model.downloads) {
      webkit_download_cancel(download);
      self->downloads.emplace_back("", "");
      return;
    }
    g_signal_connect(download, "decide-destination",
                     G_CALLBACK(+[](WebKitDownload* d, const char* suggested, Impl* s) -> gboolean {
                       const char* folder = g_get_user_special_dir(G_USER_DIRECTORY_DOWNLOAD);
                       const std::filesystem::path dir =
                           folder != nullptr
                               ? std::filesystem::path(folder)
                               : std::filesystem::path(g_get_home_dir()) / "Downloads";
                       const std::string name = safeFileName(suggested != nullptr ? suggested : "");
                       const std::string path = (dir / name).string();
                       webkit_download_set_destination(d, path.c_str());
                       s->downloads.emplace_back(suggested != nullptr ? suggested : "", path);
                       return TRUE;
                     }),
                     self);
  }

  // --- reading back -----------------------------------------------------------------------

  std::string dump() const {
    std::string out = "{\"title\":" + jsonString(model.title);
    out += R"(,"colors":{"primary":)" + jsonString(model.colours.primary) +
           ",\"primary_dark\":" + jsonString(model.colours.dark) + "}";
    out += ",\"navigation_bar\":" + jsonString(gtk::visibilityState(bar));
    out += ",\"tab_bar\":" + jsonString(gtk::visibilityState(tabBar));
    out += ",\"splash\":" + jsonString(gtk::visibilityState(splash));
    out += ",\"left_button\":" + jsonString(gtk::visibilityState(leftButton));
    out += ",\"right_button\":" + jsonString(gtk::visibilityState(rightButton));
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
                     ",\"state\":" + jsonString(gtk::visibilityState(errorPage)) + "}";
    out += ",\"routes\":[";
    for (std::size_t i = 0; i < routes.size(); ++i) {
      out += std::string(i > 0 ? "," : "") + "{\"url\":" + jsonString(routes[i].url) +
             ",\"open\":" + jsonString(openWord(routes[i].open)) + "}";
    }
    out += "],\"permissions_refused\":[";
    for (std::size_t i = 0; i < permissions.size(); ++i) {
      out += (i > 0 ? "," : "") + jsonString(permissions[i]);
    }
    out += "],\"downloads\":[";
    for (std::size_t i = 0; i < downloads.size(); ++i) {
      out += std::string(i > 0 ? "," : "") + "{\"suggested\":" + jsonString(downloads[i].first) +
             ",\"saved_as\":" +
             (downloads[i].second.empty() ? std::string("null") : jsonString(downloads[i].second)) +
             "}";
    }
    // What the web view was set up with, as WebKit reports it.
    WebKitSettings* settings = webkit_web_view_get_settings(WEBKIT_WEB_VIEW(web));
    out += std::string("],\"settings\":{\"javascript\":") +
           (webkit_settings_get_enable_javascript(settings) ? "true" : "false") +
           ",\"phone_agent\":" +
           (std::string_view(webkit_settings_get_user_agent(settings)) == kPhoneAgent ? "true"
                                                                                      : "false");
    return out + "}}";
  }
};

ShellWindow::ShellWindow(AppModel model, platform::UserDefaults& defaults, ShellOptions options)
    : impl_(std::make_unique<Impl>(std::move(model), defaults, options)) {
  impl_->build();
}

ShellWindow::~ShellWindow() {
  if (impl_->retryTimer != 0) g_source_remove(impl_->retryTimer);
  g_object_unref(impl_->css);
}

GtkWidget* ShellWindow::window() const { return impl_->window; }

void ShellWindow::open(const std::string& url) {
  impl_->load(url);
  gtk_window_present(GTK_WINDOW(impl_->window));
}

void ShellWindow::start() {
  if (impl_->model.fullscreen && !impl_->options.preview) {
    gtk_window_fullscreen(GTK_WINDOW(impl_->window));
  }
  gtk_window_present(GTK_WINDOW(impl_->window));
  if (!impl_->splashDone) {
    g_timeout_add(
        static_cast<guint>(impl_->model.splashSeconds * 1000),
        +[](gpointer p) -> gboolean {
          auto* self = static_cast<Impl*>(p);
          gtk::setVisibilityState(self->splash, "gone");
          self->splashDone = true;
          self->maybeReady();
          return G_SOURCE_REMOVE;
        },
        impl_.get());
  }
  impl_->load(impl_->model.baseUrl);
  g_timeout_add_seconds(
      kReadyTimeoutSeconds,
      +[](gpointer p) -> gboolean {
        auto* self = static_cast<Impl*>(p);
        if (!self->firstLoadDone) {
          webkit_web_view_stop_loading(WEBKIT_WEB_VIEW(self->web));
          self->showError(false);
          self->finishLoading();
        }
        return G_SOURCE_REMOVE;
      },
      impl_.get());
}

void ShellWindow::whenReady(std::function<void()> ready) {
  impl_->ready = std::move(ready);
  impl_->maybeReady();
}

std::string ShellWindow::dumpUi() const { return impl_->dump(); }

bool ShellWindow::screenshot(const std::string& file, std::string& whyNot) const {
  GtkWidget* window = impl_->window;
  GdkPaintable* paintable = gtk_widget_paintable_new(window);
  const int width = gtk_widget_get_width(window);
  const int height = gtk_widget_get_height(window);
  GtkSnapshot* snapshot = gtk_snapshot_new();
  gdk_paintable_snapshot(paintable, snapshot, width, height);
  GskRenderNode* node = gtk_snapshot_free_to_node(snapshot);
  g_object_unref(paintable);
  if (node == nullptr) {
    whyNot = "the window drew nothing";
    return false;
  }
  GskRenderer* renderer = gtk_native_get_renderer(GTK_NATIVE(window));
  graphene_rect_t bounds;
  graphene_rect_init(&bounds, 0, 0, static_cast<float>(width), static_cast<float>(height));
  GdkTexture* texture = gsk_renderer_render_texture(renderer, node, &bounds);
  gsk_render_node_unref(node);
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
