#include "vexloweb/constants/constants.hpp"

#include <thread>
#include <unordered_set>

#include <gtest/gtest.h>

#include "vexloweb/constants/colors.hpp"
#include "vexloweb/constants/dimens.hpp"
#include "vexloweb/constants/options.hpp"

namespace vexloweb {
namespace {

using C = Constants;

TEST(Constants, ValuesThatDifferFromTheirNames) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {C::LOADER_FADING_CIRCLE, "DADING_CIRCLE"},
      {C::KEY_DOWNLOADS_IN_WEBVIEW_ACTIVE, "DOWNLOADS_IN"},
      {C::KEY_PULL_TO_REFRESH_ENABLE, "PULL_TO_REFRESH_ENABLE"},
      {C::KEY_FILE_UPLOAD_ENABLE, "FILE_UPLOAD"},
      {C::KEY_JAVASCRIPT_ACTIVE, "JAVASCRIPT"},
      {C::KEY_NAVIGATION_STYLE, "NAVIGATION"},
      {C::KEY_TOOLBAR_STYLE, "TOOLBAR_STYLE"},
      {C::KEY_THEME, "APP_THEME"},
      {C::LEFT_MENU_NAVIGATION, "LEFT_MENU_NAVIGATION"},
      {C::LEFT_MENU_HOME, "LEFT_HOME"},
      {C::RIGHT_MENU_NAVIGATION, "RIGHT_MENU_NAVIGATION"},
      {C::RIGHT_MENU_HIDE, "RIGHT_HIDE"},
      {C::NAVIGATION_STANDER, "NAV_STANDER"},
      {C::THEME_PRIMARY, "THEME_PRIMARY"},
      {C::THEME_GRADIENT_1, "GRADIENT_1"},
      {C::THEME_GRADIENT_10, "GRADIENT_10"},
      {C::THEME_SOLID_42, "SOLID_42"},
      {C::ADMOB_KEY_AD_ID, "ADMOB_ID"},
      {C::ADMOB_KEY_AD_BANNER, "BANNER"},
      {C::ADMOB_KEY_BANNER_AD_DELAY, "BANNER_AD_DELAY"},
      {C::FB_KEY_AD_BANNER_DELAY, "FB_BANNER_DELAY"},
      {C::FB_KEY_AD_DELAY, "FB_AD_DELAY"},
      {C::LOADER_HIDE, "HIDE"},
      {C::KEY_FULL_SCREEN_ACTIVE, "FULL_SCREEN"},
  };
  for (const auto& [value, expected] : cases) EXPECT_EQ(value, expected);
  EXPECT_EQ(C::BASE_URL.substr(0, 8), "https://");
  EXPECT_EQ(C::BASE_URL.back(), '/');
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
    for (const std::string& raw2 :
         {std::string(raw) + " ", " " + std::string(raw), std::string(raw.substr(0, 1)) + "x"}) {
      EXPECT_FALSE(fromRawValue<Option>(raw2)) << raw2;
    }
  }
  EXPECT_EQ(hashes.size(), raws.size());
  EXPECT_FALSE(fromRawValue<Option>(""));
}

TEST(Options, EveryCaseRoundTripsAndNearMissesFail) {
  expectRoundTrips<C::WEBVIEW_OPEN_TYPE>({"INSIDE", "EXTERNAL", "CUSTOM_TAB"});
  expectRoundTrips<C::WEBVIEW_OPEN_CONDITION>(
      {"EQUAL", "NOT_EQUAL", "CONTAIN", "NOT_CONTAIN", "START_WITH", "NOT_START_WITH"});
  expectRoundTrips<C::SPLASH_SCREEN_TYPE>({"HIDE", "STANDER", "FULL_SCREEN"});
  expectRoundTrips<C::NAVIGATION_BAR_TYPE>({"HIDE", "LOGO", "TEXT"});
  for (const char* miss : {"inside", "Inside", "INSIDE ", "STANDARD"}) {
    EXPECT_FALSE(fromRawValue<C::WEBVIEW_OPEN_TYPE>(miss));
    EXPECT_FALSE(fromRawValue<C::SPLASH_SCREEN_TYPE>(miss));
  }
  EXPECT_EQ(fromRawValue<C::NAVIGATION_BAR_TYPE>("HIDE"), C::NAVIGATION_BAR_TYPE::HIDE);
  static_assert(rawValue(C::SPLASH_SCREEN_TYPE::STANDER) == "STANDER");
}

TEST(Colors, AreSharedObjectsWithExactComponents) {
  EXPECT_EQ(&Colors::primaryColor(), &Colors::primaryColor());
  EXPECT_NE(&Colors::black(), &Colors::white());
  const auto& grey = Colors::darkGrey();
  EXPECT_EQ(grey.red(), 1.0 / 3.0);
  EXPECT_EQ(grey.green(), 0.3333333333333333);
  EXPECT_EQ(Colors::primaryColor().red(), 0.9294117647058824);
  EXPECT_EQ(Colors::veryDarkGrey().blue(), 13 / 255.0);
  EXPECT_EQ(Colors::brightOrange().blue(), 0.0);
  EXPECT_EQ(Colors::red().green(), Colors::red().blue());
  EXPECT_EQ(Colors::white().red(), 1.0);
  for (const auto* color : {&Colors::accentColor(), &Colors::orange(), &Colors::blue(),
                            &Colors::green(), &Colors::lightGrey(), &Colors::primaryDarkColor()}) {
    EXPECT_EQ(color->alpha(), 1.0);
  }
  static_assert(Dimens::text_size_regular == Dimens::margin_3);
  static_assert(Dimens::margin_8 == 32 && Dimens::text_size_7xl == 30);
}

TEST(Colors, ConcurrentFirstReadsGetOneObject) {
  std::vector<const platform::Color*> seen(8);
  std::vector<std::thread> threads;
  for (std::size_t i = 0; i < seen.size(); ++i) {
    threads.emplace_back([&seen, i] { seen[i] = &Colors::orange(); });
  }
  for (auto& thread : threads) thread.join();
  for (const auto* color : seen) EXPECT_EQ(color, seen[0]);
}

}  // namespace
}  // namespace vexloweb
