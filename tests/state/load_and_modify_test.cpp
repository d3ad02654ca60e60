// Loads on one thread while the host changes the held record on others, reading and writing the
// store from inside its changes: no interleaving may stop them for good (a deadlock ends in the
// test's time limit).
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <future>
#include <mutex>
#include <stdexcept>
#include <thread>

#include <gmock/gmock.h>

#include "loader/load_hook.hpp"
#include "loader/loader_fixture.hpp"
#include "vexloweb/constants/constants.hpp"
#include "vexloweb/loader/configure_vexlo_web.hpp"
#include "vexloweb/platform/diagnostics.hpp"

namespace vexloweb {
namespace {

using testing::LoaderTest;

TEST_F(LoaderTest, LoadsAndHostChangesThatUseTheStoreNeverDeadlock) {
  seal("app", R"({"package_name": "p", "theme_color": "SOLID_3", "admob_delay": 7})");
  const testing::TempDir dir;
  platform::UserDefaults::setStandardPath(dir.path() / "defaults.sqlite3");
  std::atomic<bool> loading{true};
  std::thread loader([&] {
    for (int i = 0; i < 300; ++i) ConfigureVexloWeb().readConfiguration("app");
    loading = false;
  });
  std::vector<std::thread> hosts;
  std::int64_t last[2] = {};
  for (int h = 0; h < 2; ++h)
    hosts.emplace_back([&, h] {
      auto& defaults = platform::UserDefaults::standard();
      for (int i = 0; loading || i < 300; last[h] = i++) {
        AppDataInstance::getInstance().modifyConfigureData(
            [&](std::optional<ConfigureData>& record) {
              const auto colour = defaults.object(Constants::KEY_COLOR_PRIMARY);
              defaults.setObject(std::int64_t{i}, "HOST_" + std::to_string(h));
              if (record && colour) record->set_loader_style(std::get<std::string>(*colour));
            });
        const auto record = AppDataInstance::getInstance().configureData();
        EXPECT_TRUE(!record || record->package_name() == "p");
      }
    });
  loader.join();
  for (auto& host : hosts) host.join();
  EXPECT_EQ(stored(Constants::KEY_COLOR_PRIMARY), platform::DefaultsValue("quarn_solid3_primary"));
  EXPECT_EQ(stored(Constants::ADMOB_KEY_AD_DELAY), platform::DefaultsValue(std::int64_t{7}));
  for (int h = 0; h < 2; ++h)  // no host write was lost
    EXPECT_EQ(stored("HOST_" + std::to_string(h)), platform::DefaultsValue(last[h]));
  platform::UserDefaults::setStandardInMemory();
}

// The holder's lock is not reentrant: a change that calls back into the holder is refused with
// an exception instead of hanging, and the holder stays usable.
TEST_F(LoaderTest, AChangeThatCallsBackIntoTheHolderThrowsInsteadOfHanging) {
  auto& holder = AppDataInstance::getInstance();
  holder.setConfigureData(ConfigureData::decode(R"({"package_name": "kept"})"));
  const auto reenter = [&](std::string call, auto body) {  // the message names the call refused
    EXPECT_THAT([&] { holder.modifyConfigureData([&](std::optional<ConfigureData>&) { body(); }); },
                ::testing::ThrowsMessage<std::logic_error>(
                    ::testing::StartsWith("AppDataInstance::" + call + " called from inside")));
  };
  reenter("configureData", [&] { (void)holder.configureData(); });
  reenter("setConfigureData", [&] { holder.setConfigureData(std::nullopt); });
  reenter("modifyConfigureData",
          [&] { holder.modifyConfigureData([](std::optional<ConfigureData>&) {}); });
  EXPECT_EQ(holder.configureData()->package_name(), "kept");
  holder.modifyConfigureData([](auto& record) { record->set_package_name("changed"); });
  EXPECT_EQ(holder.configureData()->package_name(), "changed");
  std::optional<ConfigureData> previous = ConfigureData::decode(R"({"package_name": "new"})");
  holder.swapConfigureData(previous);  // hands back what was held
  EXPECT_EQ(previous->package_name().value() + " " + *held()->package_name(), "changed new");
  holder.setConfigureData(std::nullopt);
  EXPECT_FALSE(holder.configureData().has_value());
}

// One load stops once its record is held; another load runs as far as it can meanwhile. Whatever
// order they finish in, the holder and all eighteen exported keys come from the same load.
struct Pause {
  std::mutex mutex;
  std::condition_variable changed;
  bool paused = false, released = false;
} gPause;

void pauseFirstWhenHeld(std::string_view stage, std::string_view fileName) {
  if (stage != "held" || fileName != "first") return;
  std::unique_lock lock(gPause.mutex);
  gPause.paused = true;
  gPause.changed.notify_all();
  gPause.changed.wait(lock, [] { return gPause.released; });
}

TEST_F(LoaderTest, ConcurrentLoadsLeaveTheHolderAndTheStoreWithOneLoadsValues) {
  seal("first", R"({"package_name": "first", "theme_color": "GRADIENT_2", "admob_id": "A"})");
  seal("second", R"({"package_name": "second", "theme_color": "SOLID_1", "fb_ad_id": "B"})");
  setLoadStageHook(pauseFirstWhenHeld);
  std::thread first([] { ConfigureVexloWeb().readConfiguration("first"); });
  {
    std::unique_lock lock(gPause.mutex);
    gPause.changed.wait(lock, [] { return gPause.paused; });
  }
  auto second =
      std::async(std::launch::async, [] { ConfigureVexloWeb().readConfiguration("second"); });
  // Give the second load the chance to overtake; it must wait for the first instead.
  second.wait_for(std::chrono::milliseconds(200));
  {
    std::lock_guard lock(gPause.mutex);
    gPause.released = true;
  }
  gPause.changed.notify_all();
  first.join();
  second.get();
  setLoadStageHook(nullptr);

  const std::string winner = held()->package_name().value();
  const bool firstWon = winner == "first";
  EXPECT_EQ(stored(Constants::KEY_COLOR_PRIMARY),
            platform::DefaultsValue(firstWon ? "quarn_gradient2_primary" : "quarn_solid1_primary"));
  EXPECT_EQ(stored(Constants::ADMOB_KEY_AD_ID).has_value(), firstWon) << winner;
  EXPECT_EQ(stored(Constants::FB_KEY_AD_ID).has_value(), !firstWon) << winner;
}

// A load's eighteen writes land in one commit: another connection to the store, looking when
// every key is written, sees the previous load's values only. A transaction inside another
// commits nothing until the outermost does (a load itself must not start inside one).
std::filesystem::path gStoreFile;
std::vector<std::string> gSeenBeforeTheCommit;
void lookWhenExported(std::string_view stage, std::string_view /*fileName*/) {
  if (stage == "exported") gSeenBeforeTheCommit = platform::UserDefaults(gStoreFile).keys();
}

TEST_F(LoaderTest, ALoadsWritesLandInOneCommit) {
  seal("first", R"({"admob_id": "a"})");
  seal("second", R"({"fb_ad_id": "b", "admob_delay": 2})");
  const testing::TempDir dir;
  gStoreFile = dir.path() / "defaults.sqlite3";
  platform::UserDefaults::setStandardPath(gStoreFile);
  ConfigureVexloWeb().readConfiguration("first");
  setLoadStageHook(lookWhenExported);
  ConfigureVexloWeb().readConfiguration("second");
  setLoadStageHook(nullptr);
  EXPECT_EQ(gSeenBeforeTheCommit,
            (std::vector<std::string>{"ADMOB_ID", "COLOR_PRIMARY", "COLOR_PRIMARY_DARK"}));
  EXPECT_EQ(
      platform::UserDefaults(gStoreFile).keys(),
      (std::vector<std::string>{"AD_DELAY", "COLOR_PRIMARY", "COLOR_PRIMARY_DARK", "FB_AD_ID"}));
  auto& standard = platform::UserDefaults::standard();
  {
    const platform::UserDefaults::Transaction outer(standard);
    {
      const platform::UserDefaults::Transaction inner(standard);
      standard.setObject(std::string("h"), "HOST");
    }
    EXPECT_EQ(platform::UserDefaults(gStoreFile).keys().size(), 4U);
  }
  EXPECT_EQ(platform::UserDefaults(gStoreFile).keys().size(), 5U);
  platform::UserDefaults::setStandardInMemory();
}

// A warning raised inside a change of the record reaches the handler after the change, when the
// handler may read the holder; a handler that throws loses its line, not the process.
TEST_F(LoaderTest, DiagnosticHandlersRunOutsideEveryLockAndMayThrow) {
  testing::TempDir dir;
  platform::UserDefaults failing(dir.path());  // a folder: it cannot be a database
  auto& holder = AppDataInstance::getInstance();
  holder.setConfigureData(ConfigureData::decode(R"({"package_name": "p"})"));
  std::vector<std::string> seen;
  auto previous = platform::setDiagnosticHandler([&](std::string_view) {
    seen.push_back(holder.configureData()->package_name().value_or(""));
  });
  holder.modifyConfigureData([&](std::optional<ConfigureData>& record) {
    failing.setObject(std::int64_t{1}, "k");
    EXPECT_TRUE(seen.empty()) << "delivered under the holder's lock";
    record->set_package_name("changed");
  });
  EXPECT_EQ(seen, std::vector<std::string>{"changed"});

  platform::UserDefaults alsoFailing(dir.path());
  platform::setDiagnosticHandler([](std::string_view) { throw std::runtime_error("host bug"); });
  holder.modifyConfigureData(
      [&](std::optional<ConfigureData>&) { alsoFailing.setObject(std::int64_t{2}, "k"); });
  EXPECT_EQ(alsoFailing.object("k"), platform::DefaultsValue(std::int64_t{2}));
  platform::setDiagnosticHandler(std::move(previous));
}

}  // namespace
}  // namespace vexloweb
