#include "app_model.hpp"

#include <algorithm>
#include <cmath>

#include "vexloweb/constants/constants.hpp"
#include "vexloweb/loader/file_check.hpp"

namespace vexloweb::shell {
namespace {

using C = Constants;

constexpr struct {
  Command command;
  std::string_view word;
  std::string_view label;
} kCommands[] = {
    {Command::kHome, C::MENU_HOME, "Home"},    {Command::kTheme, C::MENU_THEME, "Theme"},
    {Command::kAbout, C::MENU_ABOUT, "About"}, {Command::kRate, C::MENU_RATE, "Rate"},
    {Command::kShare, C::MENU_SHARE, "Share"}, {Command::kExit, C::MENU_EXIT, "Exit"},
};

ButtonAction buttonAction(const std::optional<std::string>& option) {
  if (!option) return ButtonAction::kNone;
  constexpr struct {
    std::string_view left, right;
    ButtonAction action;
  } kButtons[] = {
      {C::LEFT_MENU_SLIDER, C::RIGHT_MENU_SLIDER, ButtonAction::kSideMenu},
      {C::LEFT_MENU_RELOAD, C::RIGHT_MENU_RELOAD, ButtonAction::kReload},
      {C::LEFT_MENU_SHARE, C::RIGHT_MENU_SHARE, ButtonAction::kShare},
      {C::LEFT_MENU_HOME, C::RIGHT_MENU_HOME, ButtonAction::kHome},
      {C::LEFT_MENU_NAVIGATION, C::RIGHT_MENU_NAVIGATION, ButtonAction::kNavigation},
  };
  for (const auto& button : kButtons) {
    if (*option == button.left || *option == button.right) return button.action;
  }
  return ButtonAction::kNone;
}

std::optional<std::string> text(const platform::UserDefaults& defaults, std::string_view key) {
  auto value = defaults.object(key);
  if (!value || !std::holds_alternative<std::string>(*value)) return std::nullopt;
  return std::get<std::string>(*value);
}

// `word` when it is one of `known`, else `fallback` with a sentence in `warnings`.
std::string knownWord(const std::optional<std::string>& word,
                      std::initializer_list<std::string_view> known, std::string_view key,
                      std::string_view fallback, std::vector<std::string>& warnings) {
  if (!word) return std::string(fallback);
  if (std::find(known.begin(), known.end(), *word) != known.end()) return *word;
  warnings.push_back(std::string(key) + " \"" + printableText(*word) +
                     "\" is not a word the shell knows; using " +
                     (fallback.empty() ? std::string("none") : std::string(fallback)));
  return std::string(fallback);
}

}  // namespace

std::string_view commandWord(Command command) {
  return kCommands[static_cast<std::size_t>(command)].word;
}

AppModel makeAppModel(const ConfigureData& r, const platform::UserDefaults& defaults) {
  AppModel m;
  m.title = r.menu_header_title().value_or(r.package_name().value_or("VexloWeb"));
  m.baseUrl = r.base_url().value_or("about:blank");
  const std::string bar = r.navigation_bar().value_or("");
  m.navigationBar = bar == "HIDE"   ? NavigationBar::kHidden
                    : bar == "LOGO" ? NavigationBar::kLogo
                                    : NavigationBar::kText;
  m.barStyle = knownWord(
      r.toolbar_style() ? r.toolbar_style() : r.navigation_bar_style(),
      {C::NAVIGATION_ORDINARY, C::NAVIGATION_STANDER, C::NAVIGATION_CLASSIC, C::NAVIGATION_HIDE},
      r.toolbar_style() ? "toolbar_style" : "navigation_bar_style", "", m.warnings);
  m.left = buttonAction(r.left_button_option());
  m.right = buttonAction(r.right_button_option());
  m.colours =
      windowColours(text(defaults, C::KEY_COLOR_PRIMARY), text(defaults, C::KEY_COLOR_PRIMARY_DARK),
                    text(defaults, C::KEY_THEME));

  m.menuTitle = m.title;
  m.menuDetails = r.menu_header_details().value_or("");
  for (const MenuItem& item : r.menus().value_or(std::vector<MenuItem>{})) {
    MenuEntry entry{item.name().value_or(""), std::nullopt, item.url()};
    for (const auto& command : kCommands) {
      if (item.name() == command.word) {  // case-sensitive: "Home" is an ordinary entry
        entry.command = command.command;
        entry.label = std::string(command.label);
      }
    }
    m.menu.push_back(std::move(entry));
  }
  for (const NavigationTab& tab : r.tabs().value_or(std::vector<NavigationTab>{})) {
    m.tabs.push_back({tab.name().value_or(""), tab.url(), tab.icon()});
  }

  const std::string splashType = r.splash_screen_type().value_or("STANDER");
  m.splash = !r.splash_screen().value_or(false) || splashType == "HIDE" ? Splash::kNone
             : splashType == "FULL_SCREEN"                              ? Splash::kFullScreen
                                                                        : Splash::kStandard;
  m.splashQuote = r.splash_qoute().value_or("");
  m.splashFooter = r.splash_footer().value_or("");

  m.loaderStyle = knownWord(
      r.loader_style(),
      {C::LOADER_ROTATING_PLANE, C::LOADER_DOUBLE_BOUNCE, C::LOADER_WAVE, C::LOADER_WANDERING_CUBE,
       C::LOADER_PULSE, C::LOADER_CHASING_DOTS, C::LOADER_THREE_BOUNCE, C::LOADER_CIRCLE,
       C::LOADER_CUBE_GRID, C::LOADER_FADING_CIRCLE, C::LOADER_FOLDING_CUBE,
       C::LOADER_ROTATING_CIRCLE, C::LOADER_HIDE},
      "loader_style", C::LOADER_CIRCLE, m.warnings);
  m.loaderShown = m.loaderStyle != C::LOADER_HIDE;
  m.loadingText = r.loading_text().value_or("");
  const double delay = r.loader_delay().value_or(0.0);
  m.loaderSeconds = std::isfinite(delay) ? std::clamp(delay, 0.0, 30.0) : 0.0;

  m.errorTitle = r.error_title().value_or("This page could not be loaded");
  m.errorText = r.error_text().value_or("");
  m.tryAgain = r.try_again_button().value_or("Try again");
  m.noInternetTitle = r.no_internet_title().value_or("No connection");
  m.noInternetDetails = r.no_internet_details().value_or("");
  m.noInternetSeconds =
      static_cast<int>(std::clamp<std::int64_t>(r.no_internet_interval().value_or(10), 1, 3600));

  m.aboutText = r.about_text().value_or("");
  m.aboutEmail = r.about_email().value_or("");
  m.aboutMobile = r.about_mobile().value_or("");
  m.aboutWebsite = r.about_website().value_or("");

  m.javascript = r.js_active().value_or(true);
  m.zoom = r.website_zoom().value_or(false);
  m.desktopAgent = r.desktop_mood().value_or(false);
  m.downloads = r.downloads_webview().value_or(false);
  m.fullscreen = r.fullscreen().value_or(false);
  m.permissionDialog = r.permission_dialog().value_or(false);

  m.admobBanner = text(defaults, C::ADMOB_KEY_AD_BANNER);
  m.fbBanner = text(defaults, C::FB_KEY_AD_BANNER);
  m.rules = r.external_browse_url().value_or(std::vector<ExternalBrowseUrl>{});
  return m;
}

}  // namespace vexloweb::shell
