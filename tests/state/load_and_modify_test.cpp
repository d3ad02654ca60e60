// Loads on one thread while the host changes the held record on others, reading and writing the
// store from inside its changes: no interleaving may stop them for good.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <iostream>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "loader/loader_fixture.hpp"
#include "vexloweb/constants/constants.hpp"
#include "vexloweb/loader/configure_vexlo_web.hpp"

namespace vexloweb {
namespace {

using testing::LoaderTest;

// Ends the process with a failure if the test has not finished in time, so a deadlock fails CI
// instead of hanging it.
class Watchdog {
 public:
  explicit Watchdog(std::chrono::seconds limit)
      : thread_([this, limit] {
          std::unique_lock lock(mutex_);
          if (!done_.wait_for(lock, limit, [this] { return finished_; })) {
            std::cerr << "watchdog: the threads made no progress for " << limit.count()
                      << " s (deadlock)\n";
            std::_Exit(1);
          }
        }) {}
  ~Watchdog() {
    {
      std::lock_guard lock(mutex_);
      finished_ = true;
    }
    done_.notify_one();
    thread_.join();
  }

 private:
  std::mutex mutex_;
  std::condition_variable done_;
  bool finished_ = false;
  std::thread thread_;
};

TEST_F(LoaderTest, LoadsAndHostChangesThatUseTheStoreNeverDeadlock) {
  seal("app", R"({"package_name": "p", "theme_color": "SOLID_3", "admob_delay": 7})");
  const Watchdog watchdog(std::chrono::seconds(60));
  std::atomic<bool> loading{true};
  std::thread loader([&] {
    for (int i = 0; i < 300; ++i) ConfigureVexloWeb().readConfiguration("app");
    loading = false;
  });
  std::vector<std::thread> hosts;
  for (int h = 0; h < 2; ++h) {
    hosts.emplace_back([&, h] {
      auto& defaults = platform::UserDefaults::standard();
      for (int i = 0; loading || i < 300; ++i) {
        AppDataInstance::getInstance().modifyConfigureData(
            [&](std::optional<ConfigureData>& record) {
              const auto colour = defaults.object(Constants::KEY_COLOR_PRIMARY);
              defaults.setObject(std::int64_t{i}, "HOST_" + std::to_string(h));
              if (record && colour) record->set_loader_style(std::get<std::string>(*colour));
            });
        const auto record = AppDataInstance::getInstance().configureData();
        if (record) {
          EXPECT_EQ(record->package_name(), "p");
        }
      }
    });
  }
  loader.join();
  for (auto& host : hosts) host.join();
  EXPECT_EQ(stored(Constants::KEY_COLOR_PRIMARY), platform::DefaultsValue("quarn_solid3_primary"));
  EXPECT_EQ(stored(Constants::ADMOB_KEY_AD_DELAY), platform::DefaultsValue(std::int64_t{7}));
}

// The holder's lock is not reentrant: a change that calls back into the holder is refused with
// an exception instead of hanging, and the holder stays usable.
TEST_F(LoaderTest, AChangeThatCallsBackIntoTheHolderThrowsInsteadOfHanging) {
  auto& holder = AppDataInstance::getInstance();
  holder.setConfigureData(ConfigureData::decode(R"({"package_name": "kept"})"));
  const auto reenter = [&](auto call) {
    EXPECT_THROW(holder.modifyConfigureData([&](std::optional<ConfigureData>&) { call(); }),
                 std::logic_error);
  };
  reenter([&] { (void)holder.configureData(); });
  reenter([&] { holder.setConfigureData(std::nullopt); });
  reenter([&] { holder.modifyConfigureData([](std::optional<ConfigureData>&) {}); });
  EXPECT_EQ(holder.configureData()->package_name(), "kept");
  holder.modifyConfigureData(
      [](std::optional<ConfigureData>& record) { record->set_package_name("changed"); });
  EXPECT_EQ(holder.configureData()->package_name(), "changed");
}

}  // namespace
}  // namespace vexloweb
