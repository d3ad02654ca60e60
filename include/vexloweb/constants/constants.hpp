// Constants: the catalogue the library shares with its host: keys of stored settings, side-menu
// commands, theme names, loader and navigation styles, menu-button options, and four option
// enumerations. Compile-time values: no initialisation, no allocation, safe on any thread.
// A value is often not its name minus a prefix; compare against the constant, never a literal.
#pragma once

#include <string_view>

#include "vexloweb/export.hpp"

namespace vexloweb {

struct VEXLOWEB_EXPORT Constants {
  Constants() = delete;

  // The maker's web address.
  static constexpr std::string_view BASE_URL = "https://vexloweb.example/";

  // Side-menu commands.
  static constexpr std::string_view MENU_HOME = "HOME";
  static constexpr std::string_view MENU_THEME = "THEME";
  static constexpr std::string_view MENU_ABOUT = "ABOUT";
  static constexpr std::string_view MENU_RATE = "RATE";
  static constexpr std::string_view MENU_SHARE = "SHARE";
  static constexpr std::string_view MENU_EXIT = "EXIT";

  // Keys of stored settings. KEY_COLOR_PRIMARY and KEY_COLOR_PRIMARY_DARK are written by every
  // load; the others are for the host. Values often drop a suffix of the name: compare whole.
  static constexpr std::string_view KEY_THEME = "APP_THEME";
  static constexpr std::string_view KEY_COLOR_PRIMARY = "COLOR_PRIMARY";
  static constexpr std::string_view KEY_COLOR_PRIMARY_DARK = "COLOR_PRIMARY_DARK";
  static constexpr std::string_view KEY_WEB_URL = "WEB_URL";
  static constexpr std::string_view KEY_TOOLBAR_STYLE = "TOOLBAR_STYLE";
  static constexpr std::string_view KEY_NAVIGATION_STYLE = "NAVIGATION";
  static constexpr std::string_view KEY_LEFT_MENU_STYLE = "LEFT_MENU";
  static constexpr std::string_view KEY_RIGHT_MENU_STYLE = "RIGHT_MENU";
  static constexpr std::string_view KEY_JAVASCRIPT_ACTIVE = "JAVASCRIPT";
  static constexpr std::string_view KEY_DOWNLOADS_IN_WEBVIEW_ACTIVE = "DOWNLOADS_IN";
  static constexpr std::string_view KEY_PERMISSION_DIALOG_ACTIVE = "PERMISSION_DIALOG";
  static constexpr std::string_view KEY_FULL_SCREEN_ACTIVE = "FULL_SCREEN";
  static constexpr std::string_view KEY_SPLASH_SCREEN_ACTIVE = "SPLASH_SCREEN";
  static constexpr std::string_view KEY_DESKTOP_MOOD_ACTIVE = "DESKTOP_MOOD";
  static constexpr std::string_view KEY_WEBSITE_ZOOM_ACTIVE = "WEBSITE_ZOOM";
  static constexpr std::string_view KEY_OFFLINE_MODE_ACTIVE = "OFFLINE_MODE";
  static constexpr std::string_view KEY_LOADER_DELAY = "LOADER_DELAY";
  static constexpr std::string_view KEY_FILE_UPLOAD_ENABLE = "FILE_UPLOAD";
  static constexpr std::string_view KEY_PHOTO_UPLOAD_ENABLE = "PHOTO_UPLOAD";
  static constexpr std::string_view KEY_CAMERA_PHOTO_UPLOAD_ENABLE = "CAMERA_PHOTO_UPLOAD";
  static constexpr std::string_view KEY_MULTIPLE_FILE_UPLOAD_ENABLE = "MULTIPLE_FILE_UPLOAD";
  static constexpr std::string_view KEY_PULL_TO_REFRESH_ENABLE = "PULL_TO_REFRESH_ENABLE";
  static constexpr std::string_view KEY_LOADER = "LOADER";

  // Ad-setting keys, under which every load stores the sixteen ad settings. The admob unit keys
  // carry no prefix; the fb per-unit delays have no "AD".
  static constexpr std::string_view ADMOB_KEY_AD_ID = "ADMOB_ID";
  static constexpr std::string_view ADMOB_KEY_AD_DELAY = "AD_DELAY";
  static constexpr std::string_view ADMOB_KEY_AD_BANNER = "BANNER";
  static constexpr std::string_view ADMOB_KEY_AD_REWARDED = "REWARDED";
  static constexpr std::string_view ADMOB_KEY_AD_INTERSTITIAL = "INTERSTITIAL";
  static constexpr std::string_view ADMOB_KEY_BANNER_AD_DELAY = "BANNER_AD_DELAY";
  static constexpr std::string_view ADMOB_KEY_INTERSTITIAL_AD_DELAY = "INTERSTITIAL_AD_DELAY";
  static constexpr std::string_view ADMOB_KEY_REWARDED_AD_DELAY = "REWARDED_AD_DELAY";
  static constexpr std::string_view FB_KEY_AD_ID = "FB_AD_ID";
  static constexpr std::string_view FB_KEY_AD_DELAY = "FB_AD_DELAY";
  static constexpr std::string_view FB_KEY_AD_BANNER = "FB_BANNER";
  static constexpr std::string_view FB_KEY_AD_INTERSTITIAL = "FB_INTERSTITIAL";
  static constexpr std::string_view FB_KEY_AD_REWARDED = "FB_REWARDED";
  static constexpr std::string_view FB_KEY_AD_BANNER_DELAY = "FB_BANNER_DELAY";
  static constexpr std::string_view FB_KEY_AD_INTERSTITIAL_DELAY = "FB_INTERSTITIAL_DELAY";
  static constexpr std::string_view FB_KEY_AD_REWARDED_DELAY = "FB_REWARDED_DELAY";

  // Theme names: exactly the values of theme_color that the theme export recognises. Only
  // THEME_PRIMARY keeps the "THEME_" prefix; numbers have no leading zeros.
  static constexpr std::string_view THEME_PRIMARY = "THEME_PRIMARY";
  static constexpr std::string_view THEME_GRADIENT_1 = "GRADIENT_1";
  static constexpr std::string_view THEME_GRADIENT_2 = "GRADIENT_2";
  static constexpr std::string_view THEME_GRADIENT_3 = "GRADIENT_3";
  static constexpr std::string_view THEME_GRADIENT_4 = "GRADIENT_4";
  static constexpr std::string_view THEME_GRADIENT_5 = "GRADIENT_5";
  static constexpr std::string_view THEME_GRADIENT_6 = "GRADIENT_6";
  static constexpr std::string_view THEME_GRADIENT_7 = "GRADIENT_7";
  static constexpr std::string_view THEME_GRADIENT_8 = "GRADIENT_8";
  static constexpr std::string_view THEME_GRADIENT_9 = "GRADIENT_9";
  static constexpr std::string_view THEME_GRADIENT_10 = "GRADIENT_10";
  static constexpr std::string_view THEME_GRADIENT_11 = "GRADIENT_11";
  static constexpr std::string_view THEME_GRADIENT_12 = "GRADIENT_12";
  static constexpr std::string_view THEME_GRADIENT_13 = "GRADIENT_13";
  static constexpr std::string_view THEME_GRADIENT_14 = "GRADIENT_14";
  static constexpr std::string_view THEME_GRADIENT_15 = "GRADIENT_15";
  static constexpr std::string_view THEME_GRADIENT_16 = "GRADIENT_16";
  static constexpr std::string_view THEME_GRADIENT_17 = "GRADIENT_17";
  static constexpr std::string_view THEME_SOLID_1 = "SOLID_1";
  static constexpr std::string_view THEME_SOLID_2 = "SOLID_2";
  static constexpr std::string_view THEME_SOLID_3 = "SOLID_3";
  static constexpr std::string_view THEME_SOLID_4 = "SOLID_4";
  static constexpr std::string_view THEME_SOLID_5 = "SOLID_5";
  static constexpr std::string_view THEME_SOLID_6 = "SOLID_6";
  static constexpr std::string_view THEME_SOLID_7 = "SOLID_7";
  static constexpr std::string_view THEME_SOLID_8 = "SOLID_8";
  static constexpr std::string_view THEME_SOLID_9 = "SOLID_9";
  static constexpr std::string_view THEME_SOLID_10 = "SOLID_10";
  static constexpr std::string_view THEME_SOLID_11 = "SOLID_11";
  static constexpr std::string_view THEME_SOLID_12 = "SOLID_12";
  static constexpr std::string_view THEME_SOLID_13 = "SOLID_13";
  static constexpr std::string_view THEME_SOLID_14 = "SOLID_14";
  static constexpr std::string_view THEME_SOLID_15 = "SOLID_15";
  static constexpr std::string_view THEME_SOLID_16 = "SOLID_16";
  static constexpr std::string_view THEME_SOLID_17 = "SOLID_17";
  static constexpr std::string_view THEME_SOLID_18 = "SOLID_18";
  static constexpr std::string_view THEME_SOLID_19 = "SOLID_19";
  static constexpr std::string_view THEME_SOLID_20 = "SOLID_20";
  static constexpr std::string_view THEME_SOLID_21 = "SOLID_21";
  static constexpr std::string_view THEME_SOLID_22 = "SOLID_22";
  static constexpr std::string_view THEME_SOLID_23 = "SOLID_23";
  static constexpr std::string_view THEME_SOLID_24 = "SOLID_24";
  static constexpr std::string_view THEME_SOLID_25 = "SOLID_25";
  static constexpr std::string_view THEME_SOLID_26 = "SOLID_26";
  static constexpr std::string_view THEME_SOLID_27 = "SOLID_27";
  static constexpr std::string_view THEME_SOLID_28 = "SOLID_28";
  static constexpr std::string_view THEME_SOLID_29 = "SOLID_29";
  static constexpr std::string_view THEME_SOLID_30 = "SOLID_30";
  static constexpr std::string_view THEME_SOLID_31 = "SOLID_31";
  static constexpr std::string_view THEME_SOLID_32 = "SOLID_32";
  static constexpr std::string_view THEME_SOLID_33 = "SOLID_33";
  static constexpr std::string_view THEME_SOLID_34 = "SOLID_34";
  static constexpr std::string_view THEME_SOLID_35 = "SOLID_35";
  static constexpr std::string_view THEME_SOLID_36 = "SOLID_36";
  static constexpr std::string_view THEME_SOLID_37 = "SOLID_37";
  static constexpr std::string_view THEME_SOLID_38 = "SOLID_38";
  static constexpr std::string_view THEME_SOLID_39 = "SOLID_39";
  static constexpr std::string_view THEME_SOLID_40 = "SOLID_40";
  static constexpr std::string_view THEME_SOLID_41 = "SOLID_41";
  static constexpr std::string_view THEME_SOLID_42 = "SOLID_42";

  // Loader styles.
  static constexpr std::string_view LOADER_ROTATING_PLANE = "ROTATING_PLANE";
  static constexpr std::string_view LOADER_DOUBLE_BOUNCE = "DOUBLE_BOUNCE";
  static constexpr std::string_view LOADER_WAVE = "WAVE";
  static constexpr std::string_view LOADER_WANDERING_CUBE = "WANDERING_CUBE";
  static constexpr std::string_view LOADER_PULSE = "PULSE";
  static constexpr std::string_view LOADER_CHASING_DOTS = "CHASING_DOTS";
  static constexpr std::string_view LOADER_THREE_BOUNCE = "THREE_BOUNCE";
  static constexpr std::string_view LOADER_CIRCLE = "CIRCLE";
  static constexpr std::string_view LOADER_CUBE_GRID = "CUBE_GRID";
  // Note: the value starts with D: it is what stored configurations carry.
  static constexpr std::string_view LOADER_FADING_CIRCLE = "DADING_CIRCLE";
  static constexpr std::string_view LOADER_FOLDING_CUBE = "FOLDING_CUBE";
  static constexpr std::string_view LOADER_ROTATING_CIRCLE = "ROTATING_CIRCLE";
  static constexpr std::string_view LOADER_HIDE = "HIDE";

  // Navigation styles: every value carries "NAV_".
  static constexpr std::string_view NAVIGATION_ORDINARY = "NAV_ORDINARY";
  static constexpr std::string_view NAVIGATION_STANDER = "NAV_STANDER";
  static constexpr std::string_view NAVIGATION_CLASSIC = "NAV_CLASSIC";
  static constexpr std::string_view NAVIGATION_HIDE = "NAV_HIDE";

  // Left-menu button options. Only the NAVIGATION value keeps "MENU_".
  static constexpr std::string_view LEFT_MENU_SLIDER = "LEFT_SLIDER";
  static constexpr std::string_view LEFT_MENU_RELOAD = "LEFT_RELOAD";
  static constexpr std::string_view LEFT_MENU_SHARE = "LEFT_SHARE";
  static constexpr std::string_view LEFT_MENU_HOME = "LEFT_HOME";
  static constexpr std::string_view LEFT_MENU_NAVIGATION = "LEFT_MENU_NAVIGATION";
  static constexpr std::string_view LEFT_MENU_HIDE = "LEFT_HIDE";

  // Right-menu button options. Only the NAVIGATION value keeps "MENU_".
  static constexpr std::string_view RIGHT_MENU_SLIDER = "RIGHT_SLIDER";
  static constexpr std::string_view RIGHT_MENU_HOME = "RIGHT_HOME";
  static constexpr std::string_view RIGHT_MENU_SHARE = "RIGHT_SHARE";
  static constexpr std::string_view RIGHT_MENU_RELOAD = "RIGHT_RELOAD";
  static constexpr std::string_view RIGHT_MENU_NAVIGATION = "RIGHT_MENU_NAVIGATION";
  static constexpr std::string_view RIGHT_MENU_HIDE = "RIGHT_HIDE";

  // Option enumerations: the typed form of option words in the configuration. Each case's raw
  // value is its own name (rawValue, fromRawValue in options.hpp).
  enum class WEBVIEW_OPEN_TYPE { INSIDE, EXTERNAL, CUSTOM_TAB };
  enum class WEBVIEW_OPEN_CONDITION {
    EQUAL,
    NOT_EQUAL,
    CONTAIN,
    NOT_CONTAIN,
    START_WITH,
    NOT_START_WITH
  };
  enum class SPLASH_SCREEN_TYPE { HIDE, STANDER, FULL_SCREEN };  // "STANDER", not "STANDARD"
  enum class NAVIGATION_BAR_TYPE { HIDE, LOGO, TEXT };
};

}  // namespace vexloweb
