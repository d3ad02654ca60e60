// What the shell decides, without a display: the link rules, the meaning of each option, and the
// colour assets. The navigation policy and download names: shell_policy_test.cpp.
#include <set>

#include <gtest/gtest.h>

#include "test_files.hpp"

#include "app_model.hpp"
#include "routing.hpp"
#include "vexloweb/constants/options.hpp"
#include "vexloweb/constants/themes.hpp"

namespace vexloweb::shell {
namespace {

using Rule = ExternalBrowseUrl;
using std::nullopt;

TEST(Routing, TheFirstRuleThatHoldsDecides) {
  const auto rows = testing::readTable("shell/routing.tsv");
  std::vector<Rule> rules;
  const auto cell = [](const std::string& text) {
    return text == "-" ? std::nullopt : std::optional(text);
  };
  for (const auto& row : rows) {
    if (row[0] == "rule") rules.emplace_back(cell(row[1]), cell(row[2]), cell(row[3]));
  }
  for (const auto& row : rows) {
    if (row[0] == "route") {
      EXPECT_EQ(vexloweb::rawValue(decideRoute(rules, row[1])), row[2]) << row[1];
    }
  }
  EXPECT_EQ(decideRoute({}, "https://x/"), Open::INSIDE);
  EXPECT_EQ(decideRoute({{"EXTERNAL", "NOT_EQUAL", "a"}}, "a"), Open::INSIDE);
}

ConfigureData record(std::string_view json) { return ConfigureData::decode(json); }

TEST(AppModel, EachOptionMeansWhatTheShellShows) {
  auto defaults = platform::UserDefaults::inMemory();
  const AppModel empty = makeAppModel(record("{}"), *defaults);
  EXPECT_EQ(empty.baseUrl, "about:blank");
  EXPECT_EQ(empty.navigationBar, NavigationBar::kText);
  EXPECT_EQ(empty.splash, Splash::kNone);
  EXPECT_EQ(empty.left, ButtonAction::kNone);
  EXPECT_TRUE(empty.loaderShown);
  EXPECT_EQ(empty.colours.primary, "#edbf65");
  EXPECT_EQ(empty.noInternetSeconds, 10);
  // Absent switches: JavaScript on; zoom, desktop agent, downloads, full screen and asking off.
  EXPECT_EQ((std::vector<bool>{empty.javascript, empty.zoom, empty.desktopAgent, empty.downloads,
                               empty.fullscreen, empty.permissionDialog}),
            (std::vector<bool>{true, false, false, false, false, false}));

  defaults->setObject(std::string("quarn_solid3_primary"), "COLOR_PRIMARY");
  defaults->setObject(std::string("quarn_solid3_primary"), "COLOR_PRIMARY_DARK");
  defaults->setObject(std::string("ca-banner"), "BANNER");
  const AppModel m =
      makeAppModel(record(R"({"package_name": "p", "navigation_bar": "HIDE", "splash_screen": true,
                 "splash_screen_type": "FULL_SCREEN", "left_button_option": "LEFT_MENU_NAVIGATION",
                 "right_button_option": "RIGHT_SLIDER", "loader_style": "HIDE",
                 "loader_int_time": -3, "no_internet_interval": 0,
                 "menus": [{"menu": "EXIT"}, {"menu": "Exit", "url": "u"}, {}]})"),
                   *defaults);
  EXPECT_EQ(m.navigationBar, NavigationBar::kHidden);
  EXPECT_EQ(m.splash, Splash::kFullScreen);
  EXPECT_EQ(m.left, ButtonAction::kNavigation);
  EXPECT_EQ(m.right, ButtonAction::kSideMenu);
  EXPECT_FALSE(m.loaderShown);
  EXPECT_EQ(m.loaderSeconds, 0.0);
  EXPECT_EQ(m.noInternetSeconds, 1);
  EXPECT_EQ(m.admobBanner, "ca-banner");
  EXPECT_FALSE(m.colours.gradient);
  ASSERT_EQ(m.menu.size(), 3U);
  EXPECT_EQ(m.menu[0].command, Command::kExit);
  EXPECT_EQ(m.menu[0].label, "Exit");
  EXPECT_EQ(m.menu[1].command, nullopt);  // command words are case-sensitive
  EXPECT_EQ(m.menu[1].label, "Exit");
  EXPECT_EQ(m.menu[2].label, "");

  const std::pair<const char*, Splash> splashes[] = {
      {R"({"splash_screen": true, "splash_screen_type": "HIDE"})", Splash::kNone},
      {R"({"splash_screen": true, "splash_screen_type": "STANDER"})", Splash::kStandard},
      {R"({"splash_screen": false, "splash_screen_type": "STANDER"})", Splash::kNone},
      {R"({"splash_screen": true})", Splash::kStandard},
  };
  for (const auto& [json, expected] : splashes) {
    EXPECT_EQ(makeAppModel(record(json), *defaults).splash, expected) << json;
  }
}

// Option words the shell does not know fall back to the default, each with one warning; a
// known word passes as it is.
TEST(AppModel, UnknownWordsFallBack) {
  auto defaults = platform::UserDefaults::inMemory();
  for (const auto& row : testing::readTable("shell/text.tsv")) {
    if (row[0] != "word") continue;
    const AppModel m = makeAppModel(record(row[1]), *defaults);
    EXPECT_EQ(std::tie(m.loaderStyle, m.barStyle, m.title), std::tie(row[2], row[3], row[5]))
        << row[1];
    EXPECT_EQ(m.warnings.size(), std::stoul(row[4])) << row[1];
  }
  EXPECT_EQ(makeAppModel(record(R"({"loader_style": ""})"), *defaults).warnings.at(0),
            "loader_style \"\" is not a word the shell knows; using CIRCLE");
}

// Every name the theme export can write has a colour; no two themes share a primary colour, and
// a solid theme's two names give one colour. The user's pick (KEY_THEME) wins over the store's.
TEST(ColourAssets, EveryThemeHasItsOwnPrimaryColour) {
  EXPECT_EQ(colourAssets().size(), 78U);
  std::set<std::string> primaries;
  for (const std::string_view theme : themeNames()) {
    const ThemeColourNames names = themeColourNames(theme);
    const WindowColours colours = windowColours(names.primary, names.dark, nullopt);
    EXPECT_TRUE(colourOf(names.primary) && colourOf(names.dark)) << theme;
    EXPECT_EQ(colours.primary, *colourOf(names.primary));
    EXPECT_TRUE(primaries.insert(colours.primary).second) << theme << " shares its colour";
    EXPECT_EQ(colours.gradient, !theme.starts_with("SOLID_")) << theme;
  }
  EXPECT_EQ(windowColours("nonsense", "colorPrimaryDark", nullopt).primary, "#edbf65");
  EXPECT_EQ(windowColours("colorPrimary", "colorPrimaryDark", std::string("SOLID_5")).primary,
            *colourOf("quarn_solid5_primary"));
  EXPECT_EQ(windowColours("colorPrimary", "colorPrimaryDark", std::string("SOLID_99")).primary,
            "#edbf65");
}

// Text on a theme colour takes black or white, whichever contrasts more (WCAG 2), and every
// asset gets at least 4.5:1 where either reaches it.
TEST(ColourAssets, TextOnEveryColourIsReadable) {
  EXPECT_NEAR(contrastRatio("#000000", "#ffffff"), 21.0, 1e-9);
  EXPECT_NEAR(contrastRatio("#777777", "#ffffff"), 4.48, 0.01);
  EXPECT_EQ(readableTextOn("#ffffff"), "#000000");
  EXPECT_EQ(readableTextOn("#000000"), "#ffffff");
  EXPECT_EQ(readableTextOn("#edbf65"), "#000000");  // the default yellow: white would be 1.8:1
  for (const ColourAsset& asset : colourAssets()) {
    const double best =
        std::max(contrastRatio(asset.hex, "#000000"), contrastRatio(asset.hex, "#ffffff"));
    EXPECT_EQ(contrastRatio(asset.hex, readableTextOn(asset.hex)), best) << asset.name;
    EXPECT_GE(best, 4.5) << asset.name;
  }
}

}  // namespace
}  // namespace vexloweb::shell
