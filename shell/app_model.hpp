// What the shell shows for a loaded configuration: every option's meaning to this desktop host,
// decided in one place, as plain values the window builds its widgets from (and tests read
// without a display). Pure.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "colour_assets.hpp"
#include "vexloweb/config/configure_data.hpp"
#include "vexloweb/platform/user_defaults.hpp"

namespace vexloweb::shell {

// The side-menu commands: an entry named exactly "HOME", "THEME", ... does the command.
enum class Command { kHome, kTheme, kAbout, kRate, kShare, kExit };
std::string_view commandWord(Command command);  // "HOME", ...

// What a navigation-bar button does, from left_button_option / right_button_option.
enum class ButtonAction {
  kNone,        // LEFT_HIDE / RIGHT_HIDE, absent or unknown: the button is gone
  kSideMenu,    // LEFT_SLIDER / RIGHT_SLIDER
  kReload,      // *_RELOAD
  kShare,       // *_SHARE
  kHome,        // *_HOME
  kNavigation,  // *_MENU_NAVIGATION: back through the pages visited
};

enum class NavigationBar { kHidden, kLogo, kText };  // HIDE, LOGO, TEXT (the default)
enum class Splash {
  kNone,
  kStandard,
  kFullScreen
};  // HIDE or splash_screen false, STANDER, FULL_SCREEN

struct MenuEntry {
  std::string label;               // a command's readable label, else the entry's name
  std::optional<Command> command;  // set when the name is a command word
  std::optional<std::string> url;
};

struct Tab {
  std::string label;
  std::optional<std::string> url;
  std::optional<std::string> icon;  // an icon name, shown when the desktop's icon theme has it
};

struct AppModel {
  std::string title;    // menu_header_title, else package_name, else "VexloWeb"
  std::string baseUrl;  // base_url, or "about:blank" when absent
  NavigationBar navigationBar = NavigationBar::kText;
  std::string barStyle;  // toolbar_style, else navigation_bar_style, a NAV_ word: a CSS class
  ButtonAction left = ButtonAction::kNone;
  ButtonAction right = ButtonAction::kNone;
  WindowColours colours;

  std::string menuTitle;
  std::string menuDetails;
  std::vector<MenuEntry> menu;
  std::vector<Tab> tabs;

  Splash splash = Splash::kNone;
  std::string splashQuote;
  std::string splashFooter;
  double splashSeconds = 1.5;

  bool loaderShown = true;  // false for loader_style "HIDE"
  std::string loaderStyle;  // one of the loader words: a CSS class ("THREE_BOUNCE")
  std::string loadingText;
  double loaderSeconds = 0;  // loader_delay, from 0 to 30: the indicator shows at least this long

  std::string errorTitle;
  std::string errorText;
  std::string tryAgain;
  std::string noInternetTitle;
  std::string noInternetDetails;
  int noInternetSeconds = 10;  // no_internet_interval, from 1 to 3600

  std::string aboutText, aboutEmail, aboutMobile, aboutWebsite;

  bool javascript = true;
  bool zoom = false;          // Ctrl+plus, Ctrl+minus and Ctrl+0 change the page's zoom
  bool desktopAgent = false;  // a desktop user agent; otherwise a phone's
  bool downloads = false;     // into the user's download folder
  bool fullscreen = false;
  bool permissionDialog = false;  // ask the user; otherwise refuse every permission request

  // Banner placeholders, from the exported ad settings ("BANNER", "FB_BANNER").
  std::optional<std::string> admobBanner;
  std::optional<std::string> fbBanner;

  std::vector<ExternalBrowseUrl> rules;

  // Option words the shell does not know, each fallen back to its default: one sentence each.
  std::vector<std::string> warnings;
};

// The model of `record`, with the colours and ad settings from `defaults` (what the load exported
// there, and the theme the user picked under KEY_THEME).
AppModel makeAppModel(const ConfigureData& record, const platform::UserDefaults& defaults);

}  // namespace vexloweb::shell
