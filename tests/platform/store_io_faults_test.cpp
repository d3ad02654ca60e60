// The user-defaults store under the I/O faults SQLite's own tests inject: a full database, the Nth
// write or sync failing, a database that refuses writes, and one another connection keeps locked
// past the busy timeout. In each case no acknowledged value is lost, nothing is reported as stored
// that was not, the store says why once, and the file stays consistent.
#include <dlfcn.h>
#include <sqlite3.h>

#include <cerrno>

#include <map>
#include <string>

#include <gtest/gtest.h>

#include "platform/store_file.hpp"
#include "test_files.hpp"
#include "vexloweb/platform/diagnostics.hpp"
#include "vexloweb/platform/user_defaults.hpp"

namespace {

// The fault armed for the connections opened from now on.
struct Fault {
  const char* pragma = nullptr;  // run on each new connection
  int failWrite = 0;             // the Nth write fails (0: none)
  int failSync = 0;              // the Nth sync fails (0: none)
  int writes = 0, syncs = 0;     // how many were made
  bool busy = false;             // another connection holds the store's lock through the writes
} gFault;

}  // namespace

// The test's own pwrite64 and fdatasync stand in front of the C library's (SQLite calls them
// through the dynamic linker): the Nth write or sync of any file fails as a failing device's would.
extern "C" ssize_t pwrite64(int fd, const void* data, std::size_t size, off64_t offset) {
  static const auto real = reinterpret_cast<ssize_t (*)(int, const void*, std::size_t, off64_t)>(
      dlsym(RTLD_NEXT, "pwrite64"));
  if (gFault.failWrite > 0 && ++gFault.writes == gFault.failWrite) return errno = EIO, -1;
  return real(fd, data, size, offset);
}
extern "C" int fdatasync(int fd) {
  static const auto real = reinterpret_cast<int (*)(int)>(dlsym(RTLD_NEXT, "fdatasync"));
  if (gFault.failSync > 0 && ++gFault.syncs == gFault.failSync) return errno = EIO, -1;
  return real(fd);
}

namespace vexloweb::platform {
namespace {

int runPragma(sqlite3* db, const char** /*error*/, const sqlite3_api_routines* /*api*/) {
  if (gFault.pragma != nullptr) sqlite3_exec(db, gFault.pragma, nullptr, nullptr, nullptr);
  return SQLITE_OK;
}

class StoreIoFaults : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { sqlite3_auto_extension(reinterpret_cast<void (*)()>(runPragma)); }
  static void TearDownTestSuite() {
    sqlite3_cancel_auto_extension(reinterpret_cast<void (*)()>(runPragma));
  }
  void SetUp() override { previous_ = setDiagnosticHandler(nullptr); }
  void TearDown() override {
    gFault = {};
    setDiagnosticHandler(std::move(previous_));
  }
  DiagnosticHandler previous_;
};

TEST_F(StoreIoFaults, NoAcknowledgedValueIsLostAndNoFailureIsReportedAsStored) {
  std::vector<std::pair<const char*, Fault>> cases = {
      {"full", {"PRAGMA max_page_count = 3", 0, 0}},
      {"read-only", {"PRAGMA query_only = 1", 0, 0}},
      {"busy", {.busy = true}},
  };
  for (int n = 1; n <= 48; n += n < 12 ? 1 : 6) {
    cases.push_back({"write", {nullptr, n, 0}});
    cases.push_back({"sync", {nullptr, 0, n}});
  }
  testing::TempDir dir;
  std::map<std::string, int> met;    // how many cases of each kind a write met
  const std::string big(1500, 'v');  // a few values fill a page
  for (const auto& [name, fault] : cases) {
    const std::string trace =
        std::string(name) + " " + std::to_string(fault.failWrite + fault.failSync);
    SCOPED_TRACE(trace);
    const auto file = dir.path() / (trace + ".sqlite3");
    UserDefaults(file).setObject(std::string("kept"), "before");  // acknowledged, unfaulted
    std::vector<std::string> acknowledged, said;
    setDiagnosticHandler([&](std::string_view line) { said.emplace_back(line); });
    {
      UserDefaults store(file);
      if (fault.failSync > 0) {  // opened before the fault: the setting must reopen it
        EXPECT_TRUE(store.object("before").has_value());
        store.setSyncOnCommit(true);
      }
      gFault = fault;
      sqlite3* holder = nullptr;
      if (fault.busy) {  // the store's own connection is open for writing first
        store.setObject(std::string("kept"), "before");
        sqlite3_open(file.c_str(), &holder);
        EXPECT_EQ(sqlite3_exec(holder, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
      }
      for (int i = 0; i < 6; ++i) {
        const std::string key = "k" + std::to_string(i);
        if (i % 2 == 1) {
          UserDefaults::Transaction transaction(store);
          store.setObject(std::string("interim"), key);
          store.setObject(big + key, key + "b");
        }
        store.setObject(big + key, key);  // after a transaction, replaces its interim value
        if (!store.failure()) acknowledged.push_back(key);
      }
      sqlite3_close(holder);
      // Every value is readable in the process, on file or in memory, and none older than it
      // came back when the store fell back to memory.
      for (int i = 0; i < 6; ++i) {
        const std::string key = "k" + std::to_string(i);
        EXPECT_EQ(store.object(key), DefaultsValue(big + key));
        if (i % 2 == 1) {  // written only inside a transaction
          EXPECT_EQ(store.object(key + "b"), DefaultsValue(big + key));
        }
      }
      EXPECT_EQ(store.object("before"), DefaultsValue(std::string("kept")));
      const std::string why = store.failure().value_or("");
      EXPECT_EQ(why.find("another process") != why.npos, fault.busy) << why;
      EXPECT_EQ(why.ends_with(" (another process holds the store too long)"), fault.busy);
      EXPECT_EQ(store.isPersistent(), !store.failure());
      met[name] += store.failure().has_value();
      const auto line =
          "vexloweb: user defaults: " + why + "; keeping values in memory for this process";
      EXPECT_EQ(said, store.failure() ? std::vector{line} : std::vector<std::string>{});
      EXPECT_TRUE(fault.failSync == 0 || store.failure() || gFault.syncs >= 9)
          << "not every commit (nine here) was synced: " << gFault.syncs;
    }
    gFault = {};
    setDiagnosticHandler(nullptr);
    EXPECT_EQ(testing::firstValue(file, "PRAGMA integrity_check"), "ok");
    UserDefaults reopened(file);
    EXPECT_EQ(reopened.object("before"), DefaultsValue(std::string("kept")));
    for (const std::string& key : acknowledged)
      EXPECT_EQ(reopened.object(key), DefaultsValue(big + key)) << key;
  }
  for (const auto& [kind, count] : met)
    EXPECT_GT(count, 0) << "no write met a " << kind << " fault";
  // A store that cannot be made leaves nothing where it would be, its temporary included.
  for (const Fault& fault : {Fault{nullptr, 1, 0}, Fault{"PRAGMA query_only = 1", 0, 0}}) {
    gFault = fault;
    UserDefaults fresh(dir.path() / "new" / "defaults.sqlite3");
    fresh.setObject(std::string("v"), "k");
    gFault = {};
    EXPECT_TRUE(std::filesystem::is_empty(dir.path() / "new"));
  }
}

}  // namespace
}  // namespace vexloweb::platform
