#include "navigation_policy.hpp"

#include <algorithm>

#include "routing.hpp"

namespace vexloweb::shell {
namespace {

bool isOneOf(std::string_view scheme, std::initializer_list<std::string_view> schemes) {
  return std::find(schemes.begin(), schemes.end(), scheme) != schemes.end();
}

bool isWeb(std::string_view scheme) { return isOneOf(scheme, {"http", "https"}); }

// Documents a frame builds from its own page (about:srcdoc, data:, blob:): never a hand-out.
bool isInPage(std::string_view scheme) { return isOneOf(scheme, {"about", "data", "blob"}); }

}  // namespace

std::string schemeOf(std::string_view url) {
  const auto colon = url.find(':');
  if (colon == std::string_view::npos || colon == 0) return "";
  std::string scheme;
  for (std::size_t i = 0; i < colon; ++i) {
    const char c = url[i];
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    const bool other = (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
    if (!letter && (i == 0 || !other)) return "";
    scheme += static_cast<char>(letter && c <= 'Z' ? c - 'A' + 'a' : c);
  }
  return scheme;
}

Decision decideNavigation(const std::vector<ExternalBrowseUrl>& rules,
                          const NavigationRequest& request) {
  const std::string scheme = schemeOf(request.url);
  const bool newWindow = request.kind == RequestKind::kNewWindow;
  if (request.frame == Frame::kUnknown && !newWindow) {
    NavigationRequest asMain = request;
    asMain.frame = Frame::kMain;
    NavigationRequest asSub = request;
    asSub.frame = Frame::kSub;
    const Decision main = decideNavigation(rules, asMain);
    if (main == decideNavigation(rules, asSub) || !isWeb(scheme)) return main;
    return Decision::kOnResponse;
  }
  if (isInPage(scheme) && !newWindow) return Decision::kLoad;
  // Local files only for a page that is itself one, or the shell's own first load.
  const bool pageIsLocal = request.pageUrl.empty() || schemeOf(request.pageUrl) == "file";
  if (scheme == "file" && !pageIsLocal) return Decision::kRefuse;
  if (request.frame == Frame::kSub && !newWindow) {
    return isWeb(scheme) || scheme == "file" ? Decision::kLoad : Decision::kRefuse;  // in place
  }
  if (isOneOf(scheme, {"mailto", "tel", "sms"})) {
    return request.gesture ? Decision::kDesktop : Decision::kRefuse;
  }
  const bool local = scheme == "file";
  if (!isWeb(scheme) && !local && !isInPage(scheme)) return Decision::kRefuse;
  if (newWindow && !request.gesture) return Decision::kRefuse;

  // The shell loads a new window's address and a custom tab itself, with more rights than the
  // page has: only web addresses, and local files only for a page that is itself a local file.
  const bool shellMayLoad = isWeb(scheme) || local;
  const bool mayLeave = request.gesture || !request.sentOutWithoutGesture;
  switch (decideRoute(rules, request.url)) {
    case Open::EXTERNAL:
      return isWeb(scheme) && mayLeave ? Decision::kBrowser : Decision::kRefuse;
    case Open::CUSTOM_TAB:
      return shellMayLoad && mayLeave ? Decision::kCustomTab : Decision::kRefuse;
    case Open::INSIDE:
      break;
  }
  if (!newWindow) return Decision::kLoad;
  return shellMayLoad ? Decision::kOpenHere : Decision::kRefuse;
}

std::string_view decisionWord(Decision decision) {
  switch (decision) {
    case Decision::kLoad:
    case Decision::kOpenHere:
    case Decision::kOnResponse:
      return "INSIDE";
    case Decision::kCustomTab:
      return "CUSTOM_TAB";
    case Decision::kBrowser:
    case Decision::kDesktop:
      return "EXTERNAL";
    case Decision::kRefuse:
      break;
  }
  return "REFUSED";
}

bool sendsOut(Decision decision) {
  return decision == Decision::kCustomTab || decision == Decision::kBrowser ||
         decision == Decision::kDesktop;
}

}  // namespace vexloweb::shell
