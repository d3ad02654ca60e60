#include "vexloweb/constants/constants.hpp"

#include <algorithm>
#include <map>
#include <sstream>
#include <unordered_set>

#include <gtest/gtest.h>

#include "test_files.hpp"
#include "vexloweb/constants/colors.hpp"
#include "vexloweb/constants/dimens.hpp"
#include "vexloweb/constants/options.hpp"
#include "vexloweb/constants/themes.hpp"

namespace vexloweb {
namespace {

using C = Constants;

// clang-format off
#define S(name) {#name, std::string(C::name)}
#define TG(n) S(THEME_GRADIENT_##n)
#define TS(n) S(THEME_SOLID_##n)
#define P(name) {#name, &Colors::name}
#define D(name) {#name, Dimens::name}

// Every constant, colour and size against the catalogue's golden table, row by row; each name
// here must have a row and each row a name.
TEST(Catalogue, EveryEntryHasItsCataloguedValue) {
  std::map<std::string, std::string> strings = {
      S(MENU_HOME), S(MENU_THEME), S(MENU_ABOUT), S(MENU_RATE), S(MENU_SHARE), S(MENU_EXIT),
      S(KEY_THEME), S(KEY_COLOR_PRIMARY), S(KEY_COLOR_PRIMARY_DARK), S(KEY_WEB_URL),
      S(KEY_TOOLBAR_STYLE), S(KEY_NAVIGATION_STYLE), S(KEY_LEFT_MENU_STYLE),
      S(KEY_RIGHT_MENU_STYLE), S(KEY_JAVASCRIPT_ACTIVE), S(KEY_DOWNLOADS_IN_WEBVIEW_ACTIVE),
      S(KEY_PERMISSION_DIALOG_ACTIVE), S(KEY_FULL_SCREEN_ACTIVE), S(KEY_SPLASH_SCREEN_ACTIVE),
      S(KEY_DESKTOP_MOOD_ACTIVE), S(KEY_WEBSITE_ZOOM_ACTIVE), S(KEY_OFFLINE_MODE_ACTIVE),
      S(KEY_LOADER_DELAY), S(KEY_FILE_UPLOAD_ENABLE), S(KEY_PHOTO_UPLOAD_ENABLE),
      S(KEY_CAMERA_PHOTO_UPLOAD_ENABLE), S(KEY_MULTIPLE_FILE_UPLOAD_ENABLE),
      S(KEY_PULL_TO_REFRESH_ENABLE), S(KEY_LOADER), S(ADMOB_KEY_AD_ID), S(ADMOB_KEY_AD_DELAY),
      S(ADMOB_KEY_AD_BANNER), S(ADMOB_KEY_AD_REWARDED), S(ADMOB_KEY_AD_INTERSTITIAL),
      S(ADMOB_KEY_BANNER_AD_DELAY), S(ADMOB_KEY_INTERSTITIAL_AD_DELAY),
      S(ADMOB_KEY_REWARDED_AD_DELAY), S(FB_KEY_AD_ID), S(FB_KEY_AD_DELAY), S(FB_KEY_AD_BANNER),
      S(FB_KEY_AD_INTERSTITIAL), S(FB_KEY_AD_REWARDED), S(FB_KEY_AD_BANNER_DELAY),
      S(FB_KEY_AD_INTERSTITIAL_DELAY), S(FB_KEY_AD_REWARDED_DELAY), S(THEME_PRIMARY),
      S(LOADER_ROTATING_PLANE), S(LOADER_DOUBLE_BOUNCE), S(LOADER_WAVE), S(LOADER_WANDERING_CUBE),
      S(LOADER_PULSE), S(LOADER_CHASING_DOTS), S(LOADER_THREE_BOUNCE), S(LOADER_CIRCLE),
      S(LOADER_CUBE_GRID), S(LOADER_FADING_CIRCLE), S(LOADER_FOLDING_CUBE),
      S(LOADER_ROTATING_CIRCLE), S(LOADER_HIDE), S(NAVIGATION_ORDINARY), S(NAVIGATION_STANDER),
      S(NAVIGATION_CLASSIC), S(NAVIGATION_HIDE), S(LEFT_MENU_SLIDER), S(LEFT_MENU_RELOAD),
      S(LEFT_MENU_SHARE), S(LEFT_MENU_HOME), S(LEFT_MENU_NAVIGATION), S(LEFT_MENU_HIDE),
      S(RIGHT_MENU_SLIDER), S(RIGHT_MENU_HOME), S(RIGHT_MENU_SHARE), S(RIGHT_MENU_RELOAD),
      S(RIGHT_MENU_NAVIGATION), S(RIGHT_MENU_HIDE),
      TG(1), TG(2), TG(3), TG(4), TG(5), TG(6), TG(7), TG(8), TG(9), TG(10), TG(11), TG(12), TG(13),
      TG(14), TG(15), TG(16), TG(17), TS(1), TS(2), TS(3), TS(4), TS(5), TS(6), TS(7), TS(8), TS(9),
      TS(10), TS(11), TS(12), TS(13), TS(14), TS(15), TS(16), TS(17), TS(18), TS(19), TS(20),
      TS(21), TS(22), TS(23), TS(24), TS(25), TS(26), TS(27), TS(28), TS(29), TS(30), TS(31),
      TS(32), TS(33), TS(34), TS(35), TS(36), TS(37), TS(38), TS(39), TS(40), TS(41), TS(42)};
  std::map<std::string, const platform::Color& (*)()> colours = {
      P(primaryColor), P(primaryDarkColor), P(accentColor), P(brightOrange), P(red), P(orange),
      P(blue), P(green), P(darkGrey), P(veryDarkGrey), P(lightGrey), P(black), P(white)};
  std::map<std::string, std::int64_t> sizes = {
      D(bottom_button_size), D(margin_1), D(margin_2), D(margin_3), D(margin_4), D(margin_5),
      D(margin_6), D(margin_7), D(margin_8), D(text_size_nano), D(text_size_micro),
      D(text_size_small), D(text_size_regular), D(text_size_medium), D(text_size_large),
      D(text_size_xl), D(text_size_2xl), D(text_size_3xl), D(text_size_4xl), D(text_size_5xl),
      D(text_size_6xl), D(text_size_7xl)};
  // clang-format on
  const auto rows = testing::readTable("catalogue/catalogue.tsv");
  std::unordered_set<const platform::Color*> objects;
  for (const auto& row : rows) {
    const std::string& name = row[1];
    SCOPED_TRACE(name);
    if (row[0] == "string") {
      EXPECT_EQ(strings.at(name), row[2]);
    } else if (row[0] == "size") {
      EXPECT_EQ(sizes.at(name), std::stoll(row[2]));
    } else {
      const platform::Color& colour = colours.at(name)();
      EXPECT_EQ(&colour, &colours.at(name)());
      objects.insert(&colour);
      int red = 0, green = 0, blue = 0;
      std::istringstream(row[2]) >> red >> green >> blue;
      EXPECT_EQ(colour.red(), red / 255.0);
      EXPECT_EQ(colour.green(), green / 255.0);
      EXPECT_EQ(colour.blue(), blue / 255.0);
      EXPECT_EQ(colour.alpha(), 1.0);
    }
  }
  EXPECT_EQ(rows.size(), strings.size() + colours.size() + sizes.size());
  EXPECT_EQ(objects.size(), colours.size());
  EXPECT_EQ(C::BASE_URL.substr(0, 8), "https://");
  EXPECT_EQ(C::BASE_URL.back(), '/');
}

// Every theme name in the catalogue's order, and texts that name no theme, with the colour names
// a load exports for them.
TEST(Themes, EachNameGivesItsColourNamesAndAnyOtherTextTheDefaults) {
  const auto rows = testing::readTable("catalogue/themes.tsv");
  std::vector<std::string_view> themes;
  for (const auto& row : rows) {
    const auto names = themeColourNames(row[0] == "-" ? std::nullopt : std::optional(row[0]));
    EXPECT_EQ(names.primary + " " + names.dark, row[1] + " " + row[2]) << row[0];
    if (row[3] == "theme") themes.push_back(row[0]);
  }
  EXPECT_TRUE(std::ranges::equal(themes, themeNames()));
}

template <class Option>
void expectRoundTrips(std::initializer_list<std::string_view> raws) {
  std::size_t ordinal = 0;
  std::unordered_set<std::size_t> hashes;
  for (std::string_view raw : raws) {
    const auto option = fromRawValue<Option>(raw);
    ASSERT_TRUE(option) << raw;
    EXPECT_EQ(static_cast<std::size_t>(*option), ordinal++);
    EXPECT_EQ(rawValue(*option), raw);
    EXPECT_EQ(std::hash<Option>{}(*option), std::hash<std::string_view>{}(raw));
    hashes.insert(std::hash<Option>{}(*option));
    for (const std::string& near :
         {std::string(raw) + " ", " " + std::string(raw), std::string(raw.substr(0, 1)) + "x"}) {
      EXPECT_FALSE(fromRawValue<Option>(near)) << near;
    }
  }
  EXPECT_EQ(hashes.size(), raws.size());
  EXPECT_FALSE(fromRawValue<Option>(""));
  EXPECT_FALSE(fromRawValue<Option>("inside"));
}

TEST(Options, EveryCaseRoundTripsAndNearMissesFail) {
  expectRoundTrips<C::WEBVIEW_OPEN_TYPE>({"INSIDE", "EXTERNAL", "CUSTOM_TAB"});
  expectRoundTrips<C::WEBVIEW_OPEN_CONDITION>(
      {"EQUAL", "NOT_EQUAL", "CONTAIN", "NOT_CONTAIN", "START_WITH", "NOT_START_WITH"});
  expectRoundTrips<C::SPLASH_SCREEN_TYPE>({"HIDE", "STANDER", "FULL_SCREEN"});
  expectRoundTrips<C::NAVIGATION_BAR_TYPE>({"HIDE", "LOGO", "TEXT"});
}

}  // namespace
}  // namespace vexloweb
