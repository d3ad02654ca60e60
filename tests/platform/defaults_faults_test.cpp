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
#include "vexloweb/platform/diagnostics.hpp"
#include "vexloweb/platform/user_defaults.hpp"

namespace vexloweb::platform {
namespace {

constexpr int kGroup = 18;  // writes per transaction, as in a load

// Counters the writer shares with the test: what had returned when it was killed.
struct Acknowledged {
  std::atomic<long> single;
  std::atomic<long> groups;
};

[[noreturn]] void writeUntilKilled(const std::filesystem::path& file, Acknowledged* acknowledged) {
  UserDefaults store(file);
  for (long i = 0;; ++i) {
    store.setObject(std::int64_t{i}, "single" + std::to_string(i));
    acknowledged->single = i + 1;
    {
      UserDefaults::Transaction transaction(store);
      for (int k = 0; k < kGroup; ++k) {
        store.setObject("g" + std::to_string(i),
                        "group" + std::to_string(i) + "." + std::to_string(k));
      }
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
    for (long i = 0; i < single; ++i) {
      ASSERT_EQ(store.object("single" + std::to_string(i)), DefaultsValue(std::int64_t{i}));
    }
    // A transaction lands whole or not at all, and every acknowledged one landed.
    for (long i = 0; i <= groups; ++i) {
      int present = 0;
      for (int k = 0; k < kGroup; ++k) {
        present += store.object("group" + std::to_string(i) + "." + std::to_string(k)).has_value();
      }
      if (i < groups) {
        EXPECT_EQ(present, kGroup) << "group " << i;
      }
      EXPECT_TRUE(present == 0 || present == kGroup) << "group " << i << ": " << present;
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
    const auto keys = UserDefaults(file).keys();
    EXPECT_EQ(keys, (std::vector<std::string>{"AD_DELAY", "COLOR_PRIMARY", "COLOR_PRIMARY_DARK",
                                              "s", "t"}));
  }
}
#endif

// A write the database refuses midway (another connection keeps it locked past the busy timeout)
// is not lost: the store carries on in memory with what it held plus that write, and says why
// once.
TEST(DefaultsFaults, AWriteTheDatabaseRefusesIsKeptInMemory) {
  testing::TempDir dir;
  const auto file = dir.path() / "defaults.sqlite3";
  UserDefaults store(file);
  store.setObject(std::string("before"), "a");
  ASSERT_TRUE(store.isPersistent());

  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
  std::vector<std::string> said;
  auto previous = setDiagnosticHandler([&](std::string_view line) { said.emplace_back(line); });
  store.setObject(std::string("during"), "b");  // waits out the busy timeout, then falls back
  store.setObject(std::int64_t{3}, "c");
  setDiagnosticHandler(std::move(previous));
  sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(db);

  EXPECT_FALSE(store.isPersistent());
  EXPECT_EQ(store.object("a"), DefaultsValue(std::string("before")));
  EXPECT_EQ(store.object("b"), DefaultsValue(std::string("during")));
  EXPECT_EQ(store.object("c"), DefaultsValue(std::int64_t{3}));
  ASSERT_EQ(said.size(), 1U);
  EXPECT_NE(said[0].find("(another process holds the store too long); keeping values in memory "
                         "for this process"),
            std::string::npos)
      << said[0];
}

}  // namespace
}  // namespace vexloweb::platform
