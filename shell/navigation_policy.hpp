// What a page may open, and where: every navigation and new-window request a web view sees goes
// through decideNavigation before anything loads or leaves the app. The link rules (routing.hpp)
// only ever apply to main-frame navigations and new windows; a sub-frame stays in its page; only
// http and https reach the desktop's browser, mailto:, tel: and sms: reach the desktop only on a
// user gesture, and nothing else is ever handed out. about:, data: and blob: documents are the
// page's own: they load where they were asked for. Pure.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "vexloweb/config/list_records.hpp"

namespace vexloweb::shell {

// WebKit does not say which frame asks when it asks (kUnknown); a main-frame response or a
// main-frame load failure later tells.
enum class Frame { kMain, kSub, kUnknown };
enum class RequestKind { kNavigation, kNewWindow };

struct NavigationRequest {
  std::string_view url;      // the address asked for
  std::string_view pageUrl;  // the address of the page that asks ("" for the shell's own load)
  Frame frame = Frame::kMain;
  RequestKind kind = RequestKind::kNavigation;
  bool gesture = false;  // the user clicked or typed for it
  // This page already sent one address out of its view (browser or custom tab) without a
  // gesture: a second is refused, so a page cannot flood the desktop from a timer.
  bool sentOutWithoutGesture = false;
};

enum class Decision {
  kLoad,       // the view (or frame) loads it itself
  kOpenHere,   // a new window's address, opened in the asking view instead
  kCustomTab,  // a window of the app's own, with a close button
  kBrowser,    // an http(s) address to the desktop's browser
  kDesktop,    // mailto:, tel: or sms: to the desktop's handler for it
  kRefuse,     // nothing loads, nothing is handed out, no error page
  // Only for Frame::kUnknown, when a main frame and a sub-frame would be treated apart (an http(s)
  // address a rule sends out): load it, and decide again as a main frame once its response (or
  // its failure, which only a main frame reports) shows that the main frame asked.
  kOnResponse,
};

Decision decideNavigation(const std::vector<ExternalBrowseUrl>& rules,
                          const NavigationRequest& request);

// The word --route and --dump-ui report: INSIDE, CUSTOM_TAB, EXTERNAL or REFUSED (kOnResponse is
// never reported: it becomes one of the others).
std::string_view decisionWord(Decision decision);

// True for the decisions that take the address out of the asking view (browser, desktop, tab).
bool sendsOut(Decision decision);

// The address's scheme in lower case ("https"), or "" when it has none.
std::string schemeOf(std::string_view url);

}  // namespace vexloweb::shell
