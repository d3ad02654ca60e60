// The shell window's insides, shared by the files that build and wire it: shell_window.cpp (the
// layout and the loading flow), window_chrome.cpp (bar, menu, tabs, splash, colours),
// page_guard.cpp (what a page may open or ask for, for the main view and custom tabs alike),
// web_session.cpp, downloads.cpp, custom_tab.cpp, dialogs.cpp and preview.cpp. Not part of any
// interface.
#pragma once

#include <gtk/gtk.h>
#include <webkit/webkit.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app_model.hpp"
#include "navigation_policy.hpp"
#include "shell_window.hpp"

namespace vexloweb::shell {

// A label that never widens its window: long text wraps anywhere, or is ellipsized.
enum class Fit { kWrap, kEllipsize };
GtkWidget* fittedLabel(const std::string& text, Fit fit, const char* cssClass = nullptr);
// Names a button that shows only an icon: its tooltip, and what a screen reader reads.
void nameIconButton(GtkWidget* button, std::string_view name);

// web_session.cpp: the network session every view of one app shares (main view and custom
// tabs), the caller's reference: kept under options.websiteData and websiteCache (made by the
// caller, owner-only), or ephemeral in a preview or without them, so a preview writes no website
// data. The one place a session is made.
WebKitNetworkSession* makeNetworkSession(const ShellOptions& options);
// A web view in `session` with the app's settings: JavaScript as the app has it, no file access.
GtkWidget* makeWebView(const AppModel& model, WebKitNetworkSession* session);
bool hasPhoneAgent(WebKitWebView* view);
// Loads `url` in `view` as the user's own choice (a menu entry, a tab, the first page): decided as
// a main-frame navigation with a gesture.
void loadOwn(GtkWidget* view, const std::string& url);

struct Download {
  std::string suggested;
  std::string savedAs;  // the final path, once finished
  std::string outcome;  // "" while running, then "finished", "failed" or "cancelled"
  std::string reason;   // why it failed
};

struct ShellWindow::Impl {
  AppModel model;
  platform::UserDefaults& defaults;
  ShellOptions options;

  WebKitNetworkSession* session = nullptr;
  GtkWidget* window = nullptr;
  GtkWidget* bar = nullptr;
  GtkWidget* leftButton = nullptr;
  GtkWidget* rightButton = nullptr;
  GtkWidget* sideMenu = nullptr;  // a revealer around a scrolled list
  GtkWidget* web = nullptr;
  GtkWidget* loader = nullptr;
  GtkWidget* errorPage = nullptr;
  GtkWidget* errorTitle = nullptr;
  GtkWidget* errorText = nullptr;
  GtkWidget* errorReason = nullptr;
  GtkWidget* tabBar = nullptr;
  GtkWidget* splash = nullptr;
  GtkCssProvider* css = nullptr;

  struct Route {
    std::string url;
    Decision decision;
  };
  std::vector<Route> routes;
  std::size_t routesLeftOut = 0;         // past kMaxRoutes, only counted
  std::vector<std::string> permissions;  // what was asked, in words, all refused or asked
  std::vector<Download> downloads;
  std::string shownError;  // "", "error" or "no_internet"
  std::optional<std::pair<std::string, std::string>> firstPageFailure;  // address, reason

  int customTabs = 0;   // opened so far
  int tabsLoading = 0;  // custom tabs whose first page has not finished loading
  bool splashDone = false;
  bool firstLoadDone = false;
  bool readyRun = false;
  int settles = 0;
  int framesWaited = 0;   // for a drawn picture, once settled
  gulong afterPaint = 0;  // the frame clock handler that waits for it
  guint frameWait = 0;    // and the timer that stops the wait
  gint64 loadStarted = 0;
  guint retryTimer = 0;
  std::function<void()> ready;

  Impl(AppModel m, platform::UserDefaults& d, ShellOptions o)
      : model(std::move(m)), defaults(d), options(o) {}

  // shell_window.cpp
  void build();
  void load(const std::string& url);
  void reload();
  void showError(bool offline, const std::string& address, const std::string& reason);
  void hideError();
  void finishLoading();
  void maybeReady();
  void readyOnceDrawn();
  void readyNow();
  void act(ButtonAction action);
  void choose(std::size_t index);

  // window_chrome.cpp
  void buildBar(GtkWidget* root);
  GtkWidget* barButton(ButtonAction action);
  void buildSideMenu(GtkWidget* parent);
  void buildLoaderAndErrors(GtkWidget* overlay);
  void buildAds(GtkWidget* root);
  void buildTabs(GtkWidget* root);
  void buildSplash(GtkWidget* overlay);
  void applyColours() const;

  // page_guard.cpp: the policy, permissions and TLS for `view`, the main one or a custom tab's.
  void guard(GtkWidget* view, bool inTab);
  void record(const std::string& url, Decision decision);
  void handToDesktop(const std::string& url) const;
  // The main view loads an address it has yet to decide on, a custom tab is loading, or a
  // download has not ended.
  bool stillDeciding() const;

  // downloads.cpp
  void watchDownloads();

  // custom_tab.cpp
  void openCustomTab(const std::string& url);

  // dialogs.cpp
  GtkWidget* dialog(const std::string& title);
  void showAbout();
  void showThemes();
  void pickTheme(const std::string& theme);
  void askPermission(WebKitPermissionRequest* request, const std::string& what);
  void tell(const std::string& title, const std::string& text);

  // preview.cpp
  std::string dump() const;
  GskRenderNode* picture(int width, int height) const;
  bool hasPicture() const;
};

}  // namespace vexloweb::shell
