// What the shell decides, without a display: the link rules, the meaning of each option, and the
// colour assets. The navigation policy and download names: shell_policy_test.cpp.
#include <set>
#include <sstream>

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

// What the model holds, as name=value words a table row can name (enums by number).
std::set<std::string> shownWords(const AppModel& m) {
  std::ostringstream out;
  out << "url=" << m.baseUrl << " bar=" << int(m.navigationBar) << " splash=" << int(m.splash)
      << " left=" << int(m.left) << " right=" << int(m.right) << " loader=" << m.loaderShown
      << " delay=" << m.loaderSeconds << " offline=" << m.noInternetSeconds
      << " primary=" << m.colours.primary << " gradient=" << m.colours.gradient
      << " banner=" << m.admobBanner.value_or("-") << " switches=" << m.javascript << m.zoom
      << m.desktopAgent << m.downloads << m.fullscreen << m.permissionDialog
      << " menus=" << m.menu.size();
  for (std::size_t i = 0; i < m.menu.size(); ++i) {
    const auto& entry = m.menu[i];
    out << " menu" << i << "=" << entry.label << ":"
        << (entry.command ? commandWord(*entry.command) : "-");
  }
  std::set<std::string> words;
  std::istringstream in(out.str());
  for (std::string word; in >> word;) words.insert(word);
  return words;
}

TEST(AppModel, EachOptionMeansWhatTheShellShows) {
  auto blank = platform::UserDefaults::inMemory();
  auto stored = platform::UserDefaults::inMemory();
  stored->setObject(std::string("quarn_solid3_primary"), "COLOR_PRIMARY");
  stored->setObject(std::string("quarn_solid3_primary"), "COLOR_PRIMARY_DARK");
  stored->setObject(std::string("ca-banner"), "BANNER");
  for (const auto& row : testing::readTable("shell/options.tsv")) {
    const auto words =
        shownWords(makeAppModel(record(row[0]), row[1] == "stored" ? *stored : *blank));
    std::istringstream expected(row[2]);
    for (std::string word; expected >> word;)
      EXPECT_TRUE(words.contains(word)) << row[0] << "\nshows no " << word;
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

// Text on a theme colour takes black or white, whichever contrasts more (WCAG 2; the default
// yellow takes black, where white would be 1.8:1), and every asset gets at least 4.5:1.
TEST(ColourAssets, TextOnEveryColourIsReadable) {
  EXPECT_NEAR(contrastRatio("#000000", "#ffffff"), 21.0, 1e-9);
  EXPECT_NEAR(contrastRatio("#777777", "#ffffff"), 4.48, 0.01);
  for (const ColourAsset& asset : colourAssets()) {
    const double best =
        std::max(contrastRatio(asset.hex, "#000000"), contrastRatio(asset.hex, "#ffffff"));
    EXPECT_EQ(contrastRatio(asset.hex, readableTextOn(asset.hex)), best) << asset.name;
    EXPECT_GE(best, 4.5) << asset.name;
  }
}

}  // namespace
}  // namespace vexloweb::shell
