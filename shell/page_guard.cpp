// What a page may open, ask for or hand out, for every view of the app (the main view and custom
// tabs alike): each navigation and new-window request goes through decideNavigation, and only
// what it allows loads or leaves the app. Also where views are made, so that all share one
// session and one set of settings.
#include <algorithm>
#include <memory>
#include <set>

#include "window_parts.hpp"

namespace vexloweb::shell {
namespace {

// A phone's user agent, for sites that serve their mobile pages when desktop_mood is off.
constexpr char kPhoneAgent[] =
    "Mozilla/5.0 (Linux; Android 14; Pixel 8) AppleWebKit/537.36 (KHTML, like Gecko) "
    "Chrome/124.0 Mobile Safari/537.36";
constexpr std::size_t kMaxRoutes = 1000;
constexpr std::size_t kMostWaiting = 64;  // a page that loops is recorded this far, then counted

// What one view remembers between decisions.
struct ViewGuard {
  ShellWindow::Impl* window;
  bool inTab;                          // a custom tab's view: what a rule sends to a tab stays
  std::string page;                    // the committed page's address: the one that asks
  bool sentOutWithoutGesture = false;  // since that page was committed
  std::set<std::string> waiting;       // loaded until a response says which frame asked
  std::string ownLoad;                 // the address the shell itself loads next
};

std::string uriOf(WebKitWebView* view) {
  const char* uri = webkit_web_view_get_uri(view);
  return uri != nullptr ? uri : "";
}

// Carries `decision` out for `view`; true when the view should go on loading the address.
bool act(WebKitWebView* view, ViewGuard& guard, const std::string& url, Decision decision,
         bool gesture) {
  if (decision == Decision::kCustomTab && guard.inTab) decision = Decision::kLoad;
  if (decision != Decision::kOnResponse) guard.window->record(url, decision);
  if (sendsOut(decision) && !gesture) guard.sentOutWithoutGesture = true;
  switch (decision) {
    case Decision::kLoad:
      return true;
    case Decision::kOnResponse:
      // A page that loops cannot grow the set without end: past the limit, refused outright.
      if (guard.waiting.size() >= kMostWaiting) return false;
      guard.waiting.insert(url);
      return true;
    case Decision::kOpenHere:
      loadOwn(GTK_WIDGET(view), url);
      break;
    case Decision::kCustomTab:
      guard.window->openCustomTab(url);
      break;
    case Decision::kBrowser:
    case Decision::kDesktop:
      guard.window->handToDesktop(url);
      break;
    case Decision::kRefuse:
      break;
  }
  return false;
}

// Decides, as the main frame's, an address loaded before it was known which frame asked.
bool decideWaiting(WebKitWebView* view, ViewGuard& guard, const std::string& url) {
  guard.waiting.erase(url);
  NavigationRequest request{
      url, guard.page, Frame::kMain, RequestKind::kNavigation, false, guard.sentOutWithoutGesture};
  return act(view, guard, url, decideNavigation(guard.window->model.rules, request), false);
}

gboolean onDecidePolicy(WebKitWebView* view, WebKitPolicyDecision* decision,
                        WebKitPolicyDecisionType type, ViewGuard* guard) {
  if (type == WEBKIT_POLICY_DECISION_TYPE_RESPONSE) {
    auto* response = WEBKIT_RESPONSE_POLICY_DECISION(decision);
    const std::string url =
        webkit_uri_request_get_uri(webkit_response_policy_decision_get_request(response));
    if (guard->waiting.count(url) == 0) return FALSE;
    if (!webkit_response_policy_decision_is_main_frame_main_resource(response)) {
      guard->waiting.erase(url);
      guard->window->record(url, Decision::kLoad);
      return FALSE;
    }
    if (decideWaiting(view, *guard, url)) return FALSE;  // WebKit's own choice: show or download
    webkit_policy_decision_ignore(decision);
    return TRUE;
  }
  WebKitNavigationAction* action = webkit_navigation_policy_decision_get_navigation_action(
      WEBKIT_NAVIGATION_POLICY_DECISION(decision));
  const std::string url = webkit_uri_request_get_uri(webkit_navigation_action_get_request(action));
  const bool newWindow = type == WEBKIT_POLICY_DECISION_TYPE_NEW_WINDOW_ACTION;
  // The shell's own loads (the first page, a menu entry, a tab) are the user's, in the main frame.
  const bool own = !newWindow && !guard->ownLoad.empty() && url == guard->ownLoad;
  if (own) guard->ownLoad.clear();
  const bool gesture = own || webkit_navigation_action_is_user_gesture(action) != FALSE;
  const NavigationRequest request{url,
                                  guard->page,
                                  own ? Frame::kMain : Frame::kUnknown,
                                  newWindow ? RequestKind::kNewWindow : RequestKind::kNavigation,
                                  gesture,
                                  guard->sentOutWithoutGesture};
  if (act(view, *guard, url, decideNavigation(guard->window->model.rules, request), gesture)) {
    webkit_policy_decision_use(decision);
  } else {
    webkit_policy_decision_ignore(decision);
  }
  return TRUE;
}

// Only a main frame's load reports a failure: an address still waiting was the main frame's.
gboolean onLoadFailed(WebKitWebView* view, WebKitLoadEvent /*event*/, const char* failingUri,
                      GError* /*error*/, ViewGuard* guard) {
  if (guard->waiting.count(failingUri) == 0) return FALSE;
  decideWaiting(view, *guard, failingUri);
  return TRUE;  // handed out or refused: not an error page
}

void onLoadChanged(WebKitWebView* view, WebKitLoadEvent event, ViewGuard* guard) {
  if (event != WEBKIT_LOAD_COMMITTED) return;
  guard->page = uriOf(view);
  guard->sentOutWithoutGesture = false;
}

// What a permission request asks for, in words a user reads.
std::string permissionWords(WebKitPermissionRequest* request) {
  if (WEBKIT_IS_GEOLOCATION_PERMISSION_REQUEST(request)) return "your location";
  if (WEBKIT_IS_NOTIFICATION_PERMISSION_REQUEST(request)) return "showing notifications";
  if (WEBKIT_IS_USER_MEDIA_PERMISSION_REQUEST(request)) {
    auto* media = WEBKIT_USER_MEDIA_PERMISSION_REQUEST(request);
    if (webkit_user_media_permission_is_for_display_device(media)) return "your screen";
    const bool audio = webkit_user_media_permission_is_for_audio_device(media);
    const bool video = webkit_user_media_permission_is_for_video_device(media);
    return audio && video ? "your camera and microphone"
           : video        ? "your camera"
                          : "your microphone";
  }
  if (WEBKIT_IS_DEVICE_INFO_PERMISSION_REQUEST(request))
    return "the list of your cameras and microphones";
  if (WEBKIT_IS_CLIPBOARD_PERMISSION_REQUEST(request)) return "your clipboard";
  if (WEBKIT_IS_POINTER_LOCK_PERMISSION_REQUEST(request)) return "locking your pointer";
  if (WEBKIT_IS_MEDIA_KEY_SYSTEM_PERMISSION_REQUEST(request)) return "playing protected media";
  if (WEBKIT_IS_WEBSITE_DATA_ACCESS_PERMISSION_REQUEST(request)) return "its data on other sites";
  return "a permission of the desktop's";
}

gboolean onPermission(WebKitWebView* view, WebKitPermissionRequest* request, ViewGuard* guard) {
  ShellWindow::Impl& window = *guard->window;
  const std::string what = permissionWords(request);
  window.permissions.push_back(what);
  if (!window.model.permissionDialog || window.options.preview) {
    webkit_permission_request_deny(request);
  } else {
    GUri* parsed = g_uri_parse(uriOf(view).c_str(), G_URI_FLAGS_NONE, nullptr);
    const char* host = parsed != nullptr ? g_uri_get_host(parsed) : nullptr;
    const std::string site = host != nullptr && *host != '\0' ? host : "This page";
    if (parsed != nullptr) g_uri_unref(parsed);
    window.askPermission(request, site + " asks for " + what + ".");
  }
  return TRUE;
}

}  // namespace

GtkWidget* makeWebView(const AppModel& model, WebKitNetworkSession* session) {
  GtkWidget* web =
      GTK_WIDGET(g_object_new(WEBKIT_TYPE_WEB_VIEW, "network-session", session, nullptr));
  WebKitSettings* settings = webkit_web_view_get_settings(WEBKIT_WEB_VIEW(web));
  webkit_settings_set_enable_javascript(settings, model.javascript);
  webkit_settings_set_allow_file_access_from_file_urls(settings, FALSE);
  webkit_settings_set_allow_universal_access_from_file_urls(settings, FALSE);
  webkit_settings_set_javascript_can_open_windows_automatically(settings, FALSE);
  webkit_settings_set_allow_top_navigation_to_data_urls(settings, FALSE);
  if (!model.desktopAgent) webkit_settings_set_user_agent(settings, kPhoneAgent);
  gtk_widget_set_vexpand(web, TRUE);
  gtk_widget_set_hexpand(web, TRUE);
  return web;
}

bool hasPhoneAgent(WebKitWebView* view) {
  return std::string_view(webkit_settings_get_user_agent(webkit_web_view_get_settings(view))) ==
         kPhoneAgent;
}

void ShellWindow::Impl::guard(GtkWidget* view, bool inTab) {
  auto* guard = new ViewGuard{this, inTab, "", false, {}, ""};
  g_object_set_data_full(
      G_OBJECT(view), "vexloweb-guard", guard,
      +[](gpointer p) { delete static_cast<ViewGuard*>(p); });
  g_signal_connect(view, "decide-policy", G_CALLBACK(onDecidePolicy), guard);
  g_signal_connect(view, "load-failed", G_CALLBACK(onLoadFailed), guard);
  g_signal_connect(view, "load-changed", G_CALLBACK(onLoadChanged), guard);
  g_signal_connect(view, "permission-request", G_CALLBACK(onPermission), guard);
}

void loadOwn(GtkWidget* view, const std::string& url) {
  auto* guard = static_cast<ViewGuard*>(g_object_get_data(G_OBJECT(view), "vexloweb-guard"));
  if (guard != nullptr) guard->ownLoad = url;
  webkit_web_view_load_uri(WEBKIT_WEB_VIEW(view), url.c_str());
}

bool ShellWindow::Impl::stillDeciding() const {
  const auto* guard =
      static_cast<const ViewGuard*>(g_object_get_data(G_OBJECT(web), "vexloweb-guard"));
  return (guard != nullptr && !guard->waiting.empty()) || tabsLoading > 0 ||
         std::any_of(downloads.begin(), downloads.end(),
                     [](const Download& d) { return d.outcome.empty(); });
}

void ShellWindow::Impl::record(const std::string& url, Decision decision) {
  if (routes.size() < kMaxRoutes) {
    routes.push_back({url, decision});
  } else {
    ++routesLeftOut;
  }
}

void ShellWindow::Impl::handToDesktop(const std::string& url) const {
  if (options.preview) return;  // a preview opens nothing outside itself
  // Whatever asks (a page, a menu entry, the share button), the desktop gets only these.
  const std::string scheme = schemeOf(url);
  if (scheme != "http" && scheme != "https" && scheme != "mailto" && scheme != "tel" &&
      scheme != "sms") {
    return;
  }
  g_app_info_launch_default_for_uri(url.c_str(), nullptr, nullptr);
}

}  // namespace vexloweb::shell
