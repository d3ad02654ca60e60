// The user-defaults store under faults: processes killed mid-write, and two processes opening a
// fresh store at the same moment. Each run checks the file itself with SQLite.
#include <signal.h>
#include <sqlite3.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <random>
#include <thread>

#include <gtest/gtest.h>

#include "platform/store_file.hpp"
#include "test_files.hpp"
#include "vexloweb/loader/load_pipeline.hpp"
#include "vexloweb/platform/user_defaults.hpp"

namespace vexloweb::platform {
namespace {

constexpr int kGroup = 18;  // writes per transaction, as in a load

// Counters the writer shares with the test: what had returned when it was killed.
struct Acknowledged {
  std::atomic<long> single, groups;
};

[[noreturn]] void writeUntilKilled(const std::filesystem::path& file, Acknowledged* acknowledged) {
  UserDefaults store(file);
  for (long i = 0;; ++i) {
    store.setObject(std::int64_t{i}, "single" + std::to_string(i));
    acknowledged->single = i + 1;
    {
      UserDefaults::Transaction transaction(store);
      for (int k = 0; k < kGroup; ++k)
        store.setObject("g" + std::to_string(i),
                        "group" + std::to_string(i) + "." + std::to_string(k));
    }
    acknowledged->groups = i + 1;
  }
}

TEST(DefaultsFaults, AKilledWriterNeverLosesAnAcknowledgedWrite) {
  testing::TempDir dir;
  std::mt19937 random(20261206);
  auto* acknowledged = static_cast<Acknowledged*>(mmap(
      nullptr, sizeof(Acknowledged), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
  ASSERT_NE(acknowledged, MAP_FAILED);
  for (int run = 0; run < 50; ++run) {
    SCOPED_TRACE("run " + std::to_string(run));
    const auto file = dir.path() / ("crash" + std::to_string(run) + ".sqlite3");
    new (acknowledged) Acknowledged{};
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) writeUntilKilled(file, acknowledged);
    std::this_thread::sleep_for(std::chrono::microseconds(2000 + random() % 30000));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);

    const long single = acknowledged->single;
    const long groups = acknowledged->groups;
    if (!std::filesystem::exists(file)) continue;  // killed before the store was made
    EXPECT_EQ(testing::firstValue(file, "PRAGMA integrity_check"), "ok");
    UserDefaults store(file);
    for (long i = 0; i < single; ++i)
      ASSERT_EQ(store.object("single" + std::to_string(i)), DefaultsValue(std::int64_t{i}));
    // A transaction lands whole or not at all, and every acknowledged one landed.
    for (long i = 0; i <= groups; ++i) {
      int present = 0;
      for (int k = 0; k < kGroup; ++k)
        present += store.object("group" + std::to_string(i) + "." + std::to_string(k)).has_value();
      EXPECT_TRUE(present == kGroup || (present == 0 && i == groups))
          << "group " << i << ": " << present;
    }
  }
  munmap(acknowledged, sizeof(Acknowledged));
}

// A process that exits without closing its shared store leaves the file whole on its own.
TEST(DefaultsFaults, AProcessClosesItsSharedStoresAtExit) {
  testing::TempDir dir;
  const auto file = dir.path() / "shared.sqlite3";
  const pid_t child = fork();
  if (child == 0) {
    UserDefaults::atPath(file).setObject(std::int64_t{1}, "k");
    std::exit(0);
  }
  waitpid(child, nullptr, 0);
  for (const char* side : {"-wal", "-shm"})
    EXPECT_FALSE(std::filesystem::exists(file.string() + side)) << side;
  EXPECT_EQ(testing::firstValue(file, "SELECT value FROM entries WHERE key = 'k'"), "1");
}

#ifdef VEXLOWEB_TOOL
// The tool loading a configuration and a test process writing, into the same fresh store file.
TEST(DefaultsFaults, TheToolAndAProgramOpeningAFreshStoreTogetherLoseNothing) {
  testing::TempDir dir;
  const auto sealed = sealDocument(R"({"admob_delay": 7, "theme_color": "SOLID_3"})");
  ASSERT_TRUE(sealed);
  testing::writeFile(dir.path() / "app.io", *sealed);
  for (int run = 0; run < 100; ++run) {
    SCOPED_TRACE("run " + std::to_string(run));
    const auto file = dir.path() / ("fresh" + std::to_string(run) + ".sqlite3");
    const auto toolErrors = dir.path() / "tool.err";
    int gate[2];
    ASSERT_EQ(pipe(gate), 0);
    pid_t children[2];
    for (int c = 0; c < 2; ++c) {
      children[c] = fork();
      ASSERT_GE(children[c], 0);
      if (children[c] != 0) continue;
      close(gate[1]);
      char go = 0;
      (void)!read(gate[0], &go, 1);  // both start when the gate opens
      if (c == 0) {
        (void)!freopen("/dev/null", "w", stdout);
        (void)!freopen(toolErrors.c_str(), "w", stderr);
        execl(VEXLOWEB_TOOL, "vexloweb", "load", "--bundle", dir.path().c_str(), "--defaults",
              file.c_str(), "app", static_cast<char*>(nullptr));
        _exit(127);
      }
      ::testing::internal::CaptureStderr();
      UserDefaults store(file);
      {
        UserDefaults::Transaction transaction(store);
        store.setObject(std::int64_t{1}, "t");
      }
      store.setObject(std::int64_t{2}, "s");
      const bool quiet = ::testing::internal::GetCapturedStderr().empty();
      _exit(store.isPersistent() && quiet ? 0 : 1);
    }
    close(gate[0]);
    close(gate[1]);  // opens the gate for both at once
    for (pid_t child : children) {
      int status = 0;
      waitpid(child, &status, 0);
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a writer failed";
    }
    EXPECT_EQ(testing::readFile(toolErrors), "");
    EXPECT_EQ(testing::firstValue(file, "PRAGMA journal_mode"), "wal");
    EXPECT_EQ(
        UserDefaults(file).keys(),
        (std::vector<std::string>{"AD_DELAY", "COLOR_PRIMARY", "COLOR_PRIMARY_DARK", "s", "t"}));
  }
}
#endif

}  // namespace
}  // namespace vexloweb::platform
