// The user-defaults store under the I/O faults SQLite's own tests inject: a full database, the Nth
// write or sync failing, a database that refuses writes. In each case no acknowledged value is
// lost, nothing is reported as stored that was not, and the file stays consistent.
#include <sqlite3.h>

#include <string>

#include <gtest/gtest.h>

#include "platform/store_file.hpp"
#include "test_files.hpp"
#include "vexloweb/platform/diagnostics.hpp"
#include "vexloweb/platform/user_defaults.hpp"

namespace vexloweb::platform {
namespace {

// The fault armed for the connections opened from now on.
struct Fault {
  const char* pragma = nullptr;  // run on each new connection
  int failWrite = 0;             // the Nth write fails (0: none)
  int failSync = 0;              // the Nth sync fails (0: none)
  int writes = 0;
  int syncs = 0;
} gFault;

int runPragma(sqlite3* db, const char** /*error*/, const sqlite3_api_routines* /*api*/) {
  if (gFault.pragma != nullptr) sqlite3_exec(db, gFault.pragma, nullptr, nullptr, nullptr);
  return SQLITE_OK;
}

// A VFS over the default one whose files fail the Nth write or sync.
struct FaultFile {
  sqlite3_file base;
  sqlite3_file* real;
};
sqlite3_vfs* gReal = nullptr;
sqlite3_io_methods gMethods;
sqlite3_vfs gVfs;

sqlite3_file* real(sqlite3_file* file) { return reinterpret_cast<FaultFile*>(file)->real; }

int faultWrite(sqlite3_file* file, const void* data, int amount, sqlite3_int64 offset) {
  if (++gFault.writes == gFault.failWrite) return SQLITE_IOERR_WRITE;
  return real(file)->pMethods->xWrite(real(file), data, amount, offset);
}
int faultSync(sqlite3_file* file, int flags) {
  if (++gFault.syncs == gFault.failSync) return SQLITE_IOERR_FSYNC;
  return real(file)->pMethods->xSync(real(file), flags);
}
int faultClose(sqlite3_file* file) { return real(file)->pMethods->xClose(real(file)); }

int faultOpen(sqlite3_vfs* /*vfs*/, const char* name, sqlite3_file* file, int flags, int* out) {
  auto* shim = reinterpret_cast<FaultFile*>(file);
  shim->real = reinterpret_cast<sqlite3_file*>(shim + 1);
  const int code = gReal->xOpen(gReal, name, shim->real, flags, out);
  if (shim->real->pMethods == nullptr) {
    shim->base.pMethods = nullptr;
    return code;
  }
  // Every method forwards to the real file but for the three above.
  const sqlite3_io_methods& r = *shim->real->pMethods;
  gMethods = r;
#define FORWARD(method, ...)                         \
  gMethods.method = [](sqlite3_file* f, auto... a) { \
    return real(f)->pMethods->method(real(f), a...); \
  }
  FORWARD(xRead);
  FORWARD(xTruncate);
  FORWARD(xFileSize);
  FORWARD(xLock);
  FORWARD(xUnlock);
  FORWARD(xCheckReservedLock);
  FORWARD(xFileControl);
  FORWARD(xShmMap);
  FORWARD(xShmLock);
  FORWARD(xShmUnmap);
  FORWARD(xFetch);
  FORWARD(xUnfetch);
#undef FORWARD
  gMethods.xSectorSize = [](sqlite3_file* f) { return real(f)->pMethods->xSectorSize(real(f)); };
  gMethods.xDeviceCharacteristics = [](sqlite3_file* f) {
    return real(f)->pMethods->xDeviceCharacteristics(real(f));
  };
  gMethods.xShmBarrier = [](sqlite3_file* f) { real(f)->pMethods->xShmBarrier(real(f)); };
  gMethods.xWrite = faultWrite;
  gMethods.xSync = faultSync;
  gMethods.xClose = faultClose;
  shim->base.pMethods = &gMethods;
  return code;
}

class StoreIoFaults : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    gReal = sqlite3_vfs_find(nullptr);
    gVfs = *gReal;
    gVfs.zName = "vexloweb-faults";
    gVfs.szOsFile = static_cast<int>(sizeof(FaultFile)) + gReal->szOsFile;
    gVfs.xOpen = faultOpen;
    sqlite3_vfs_register(&gVfs, 1);
    sqlite3_auto_extension(reinterpret_cast<void (*)()>(runPragma));
  }
  static void TearDownTestSuite() {
    sqlite3_cancel_auto_extension(reinterpret_cast<void (*)()>(runPragma));
    sqlite3_vfs_unregister(&gVfs);
    sqlite3_vfs_register(gReal, 1);
  }
  void SetUp() override { previous_ = setDiagnosticHandler(nullptr); }
  void TearDown() override {
    gFault = {};
    setDiagnosticHandler(std::move(previous_));
  }
  DiagnosticHandler previous_;
};

TEST_F(StoreIoFaults, NoAcknowledgedValueIsLostAndNoFailureIsReportedAsStored) {
  struct Case {
    const char* name;
    Fault fault;
  };
  std::vector<Case> cases = {
      {"full", {"PRAGMA max_page_count = 3", 0, 0}},
      {"read-only", {"PRAGMA query_only = 1", 0, 0}},
  };
  for (int n = 1; n <= 48; n += n < 12 ? 1 : 6) {
    cases.push_back({"write", {nullptr, n, 0}});
    cases.push_back({"sync", {nullptr, 0, n}});
  }
  testing::TempDir dir;
  const std::string big(1500, 'v');  // a few values fill a page
  for (const Case& c : cases) {
    const std::string trace =
        std::string(c.name) + " " + std::to_string(c.fault.failWrite + c.fault.failSync);
    SCOPED_TRACE(trace);
    const auto file = dir.path() / (trace + ".sqlite3");
    UserDefaults(file).setObject(std::string("kept"), "before");  // acknowledged, unfaulted
    gFault = c.fault;
    std::vector<std::string> acknowledged;
    {
      UserDefaults store(file);
      store.setSyncOnCommit(c.fault.failSync > 0);
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
      // Every value is readable in the process, on file or in memory, and none older than it
      // came back when the store fell back to memory.
      for (int i = 0; i < 6; ++i) {
        const std::string key = "k" + std::to_string(i);
        EXPECT_EQ(store.object(key), DefaultsValue(big + key)) << key;
      }
      EXPECT_EQ(store.object("before"), DefaultsValue(std::string("kept")));
      EXPECT_EQ(store.failure().value_or("").find("another process"), std::string::npos);
      if (std::string(c.name) != "write" && std::string(c.name) != "sync") {
        EXPECT_TRUE(store.failure().has_value()) << "a fault that no write met";
      }
    }
    gFault = {};
    EXPECT_EQ(testing::firstValue(file, "PRAGMA integrity_check"), "ok");
    UserDefaults reopened(file);
    EXPECT_EQ(reopened.object("before"), DefaultsValue(std::string("kept")));
    for (const std::string& key : acknowledged) {
      EXPECT_EQ(reopened.object(key), DefaultsValue(big + key)) << key;
    }
  }
}

}  // namespace
}  // namespace vexloweb::platform
