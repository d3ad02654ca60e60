#include "config/field_notes.hpp"

#include <array>

#include "constants/theme_names.hpp"
#include "vexloweb/config/configure_data.hpp"
#include "vexloweb/constants/options.hpp"

namespace vexloweb {
namespace {

using C = Constants;

constexpr std::array<std::string_view, 13> kLoaderStyles{C::LOADER_ROTATING_PLANE,
                                                         C::LOADER_DOUBLE_BOUNCE,
                                                         C::LOADER_WAVE,
                                                         C::LOADER_WANDERING_CUBE,
                                                         C::LOADER_PULSE,
                                                         C::LOADER_CHASING_DOTS,
                                                         C::LOADER_THREE_BOUNCE,
                                                         C::LOADER_CIRCLE,
                                                         C::LOADER_CUBE_GRID,
                                                         C::LOADER_FADING_CIRCLE,
                                                         C::LOADER_FOLDING_CUBE,
                                                         C::LOADER_ROTATING_CIRCLE,
                                                         C::LOADER_HIDE};
constexpr std::array<std::string_view, 4> kNavigationStyles{
    C::NAVIGATION_ORDINARY, C::NAVIGATION_STANDER, C::NAVIGATION_CLASSIC, C::NAVIGATION_HIDE};
constexpr std::array<std::string_view, 6> kLeftOptions{C::LEFT_MENU_SLIDER,     C::LEFT_MENU_RELOAD,
                                                       C::LEFT_MENU_SHARE,      C::LEFT_MENU_HOME,
                                                       C::LEFT_MENU_NAVIGATION, C::LEFT_MENU_HIDE};
constexpr std::array<std::string_view, 6> kRightOptions{
    C::RIGHT_MENU_SLIDER, C::RIGHT_MENU_HOME,       C::RIGHT_MENU_SHARE,
    C::RIGHT_MENU_RELOAD, C::RIGHT_MENU_NAVIGATION, C::RIGHT_MENU_HIDE};
constexpr std::array<std::string_view, 6> kMenuCommands{C::MENU_HOME, C::MENU_THEME, C::MENU_ABOUT,
                                                        C::MENU_RATE, C::MENU_SHARE, C::MENU_EXIT};
template <class Option>
constexpr std::span<const std::string_view> kRawValues = detail::OptionNames<Option>::kValues;

// In the record's declaration order; the schema test checks that there are 58.
const std::array<FieldNote, ConfigureData::kFieldCount> kNotes{{
    {"The app's package name.", {}},
    {"The configuration form this document was made from; the app carries it as text.", {}},
    {"The web site the app opens at start-up: an absolute URL.", {}},
    {"Admob group: the app's ad identifier. The load copies it into the user default \"ADMOB_ID\".",
     {}},
    {"Admob group: the banner ad unit key. The load copies it into the user default \"BANNER\".",
     {}},
    {"Admob group: the interstitial ad unit key. The load copies it into the user default "
     "\"INTERSTITIAL\".",
     {}},
    {"Admob group: the rewarded ad unit key. The load copies it into the user default "
     "\"REWARDED\".",
     {}},
    {"Admob group: the delay before ads show, in the unit the app's ad code expects; the load "
     "copies "
     "it unchanged into the user default \"AD_DELAY\".",
     {}},
    {"Admob group: the banner ad delay (the record's field admob_banner_delay; note the key starts "
     "with key_). The load copies it unchanged into the user default \"BANNER_AD_DELAY\".",
     {}},
    {"Admob group: the interstitial ad delay (the record's field admob_interstitial_delay). The "
     "load "
     "copies it unchanged into the user default \"INTERSTITIAL_AD_DELAY\".",
     {}},
    {"Admob group: the rewarded ad delay (the record's field admob_rewarded_delay). The load "
     "copies it "
     "unchanged into the user default \"REWARDED_AD_DELAY\".",
     {}},
    {"Fb group: the app's ad identifier, copied into the user default \"FB_AD_ID\".", {}},
    {"Fb group: the banner placement, copied into the user default \"FB_BANNER\".", {}},
    {"Fb group: the interstitial placement, copied into the user default "
     "\"FB_INTERSTITIAL\".",
     {}},
    {"Fb group: the rewarded placement, copied into the user default \"FB_REWARDED\".", {}},
    {"Fb group: the delay before ads show, copied unchanged into the user default "
     "\"FB_AD_DELAY\".",
     {}},
    {"Fb group: the banner delay, copied unchanged into the user default "
     "\"FB_BANNER_DELAY\".",
     {}},
    {"Fb group: the interstitial delay, copied unchanged into the user default "
     "\"FB_INTERSTITIAL_DELAY\".",
     {}},
    {"Fb group: the rewarded delay, copied unchanged into the user default "
     "\"FB_REWARDED_DELAY\".",
     {}},
    {"The style of the app's toolbar, as the app's own styles name it.", {}},
    {"What the navigation bar shows: HIDE, LOGO or TEXT. Other words load, but the app will "
     "not recognise them.",
     kRawValues<C::NAVIGATION_BAR_TYPE>},
    {"The navigation bar's style: one of the catalogue's navigation styles.", kNavigationStyles},
    {"What the left toolbar button does: one of the catalogue's left-button options.",
     kLeftOptions},
    {"What the right toolbar button does: one of the catalogue's right-button options.",
     kRightOptions},
    {"The colour theme: one of the 60 theme names. The load writes its colour pair into the "
     "user defaults \"COLOR_PRIMARY\" and \"COLOR_PRIMARY_DARK\"; any other text gives the "
     "default pair (\"colorPrimary\", \"colorPrimaryDark\").",
     kThemeNames},
    {"The loading animation: one of the catalogue's loader styles (HIDE shows none).",
     kLoaderStyles},
    {"How long the loading animation shows (the record's field loader_delay): a number, "
     "fractions allowed, in the unit the app's loader expects.",
     {}},
    {"The interval of the no-internet check, a whole number in the unit the app expects.", {}},
    {"Whether web pages may upload files.", {}},
    {"Whether web pages may upload photos from the library.", {}},
    {"Whether web pages may upload photos taken with the camera.", {}},
    {"Whether web pages may upload several files at once.", {}},
    {"Whether JavaScript runs in the web view.", {}},
    {"Whether downloads open inside the web view.", {}},
    {"Whether the app shows a permission dialog.", {}},
    {"Whether the app shows a splash screen at start-up.", {}},
    {"The quote shown on the splash screen (the key's spelling, splash_qoute, is as the app "
     "reads it).",
     {}},
    {"The kind of splash screen: HIDE, STANDER or FULL_SCREEN. Other words load, but the app "
     "will not recognise them.",
     kRawValues<C::SPLASH_SCREEN_TYPE>},
    {"The footer text of the splash screen.", {}},
    {"The text of the About screen.", {}},
    {"The e-mail address on the About screen.", {}},
    {"The phone number on the About screen.", {}},
    {"The web site on the About screen.", {}},
    {"The text shown while a page loads.", {}},
    {"The title of the page-error screen.", {}},
    {"The text of the page-error screen.", {}},
    {"The title of the no-connection screen.", {}},
    {"The details on the no-connection screen.", {}},
    {"The label of the no-connection screen's try-again button.", {}},
    {"Whether pulling down reloads the page.", {}},
    {"Whether pages may be zoomed.", {}},
    {"Whether the web view shows the desktop version of pages (the key's spelling, "
     "desktop_mood, is as the app reads it).",
     {}},
    {"Whether the app runs full screen.", {}},
    {"The title at the top of the side menu.", {}},
    {"The details under the side menu's title.", {}},
    {"The side menu's entries, in order.", {}},
    {"The tabs of the bottom navigation, in order.", {}},
    {"Rules that send some addresses out of the web view, checked in order (the record's field "
     "external_browse_url; note the key says browser).",
     {}},
}};

const std::array<FieldNote, 3> kMenuItemNotes{{
    {"The entry's label, or one of the catalogue's side-menu commands (the record's field name).",
     kMenuCommands},
    {"The address the entry opens.", {}},
    {"The entry's icon, as the app's icon set names it.", {}},
}};
const std::array<FieldNote, 3> kNavigationTabNotes{{
    {"The tab's label (the record's field name).", {}},
    {"The address the tab opens.", {}},
    {"The tab's icon, as the app's icon set names it.", {}},
}};
const std::array<FieldNote, 3> kExternalBrowseUrlNotes{{
    {"Where a matching address opens: INSIDE, EXTERNAL or CUSTOM_TAB.",
     kRawValues<C::WEBVIEW_OPEN_TYPE>},
    {"How an address is compared with url: EQUAL, NOT_EQUAL, CONTAIN, NOT_CONTAIN, START_WITH "
     "or NOT_START_WITH.",
     kRawValues<C::WEBVIEW_OPEN_CONDITION>},
    {"The text an address is compared with.", {}},
}};

}  // namespace

const FieldNote& fieldNote(std::size_t index) { return kNotes.at(index); }
const FieldNote& menuItemNote(std::size_t index) { return kMenuItemNotes.at(index); }
const FieldNote& navigationTabNote(std::size_t index) { return kNavigationTabNotes.at(index); }
const FieldNote& externalBrowseUrlNote(std::size_t index) {
  return kExternalBrowseUrlNotes.at(index);
}

}  // namespace vexloweb
