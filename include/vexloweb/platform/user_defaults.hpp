// UserDefaults: the persistent key-value store that every successful load writes (the ad settings
// and theme colours) and that the host reads. One SQLite database file per store, shared safely
// by several processes. Values keep their type (a NaN reads back as NaN). Thread-safe.
//
// Durability: each write outside a Transaction is committed before it returns. A committed write
// survives a crash of the process; by default it may not survive a power loss or a crash of the
// system (the file is not synced at each commit). setSyncOnCommit(true) makes every commit wait
// until it is on disk, at the cost of one or two fsync calls per commit. While a process has the
// store open, recent commits sit in the "-wal" file beside it; closing the store (at exit for the
// standard store) folds them into the one file, which can then be copied alone.
//
// Files: reading changes nothing: it creates, repairs or moves no file, writes no schema, does not
// switch the journal, and leaves no "-wal" or "-shm" file behind once the store is closed. A
// store that does not exist reads as empty and is created by the first write (made whole beside
// it and renamed into place). A store is an SQLite database holding our one table and nothing
// else; any other file (a folder, an empty file, text, another program's database) is refused
// before anything is written, by reads and writes alike, and never touched. A store of ours found
// damaged at a write is moved aside to "<name>.corrupt-<time>" (never over another file) and a
// fresh store begins.
//
// Keys are bytes: a key holding NUL ("k\0hidden") is kept whole, in memory and on file, and is a
// key of its own, never the same as "k".
//
// A store that cannot be opened or written never throws and never crashes the caller: it keeps
// its values in memory for the rest of the process and says why, once, through the diagnostic
// handler (platform/diagnostics.hpp; standard error by default), and failure() tells it.
//
// Example:
//   vexloweb::platform::UserDefaults::setStandardPath("/data/app/defaults.sqlite3");
//   auto& defaults = vexloweb::platform::UserDefaults::standard();
//   defaults.setObject(std::int64_t{30}, "AD_DELAY");
//   if (auto colour = defaults.object("COLOR_PRIMARY")) use(std::get<std::string>(*colour));
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "vexloweb/export.hpp"

namespace vexloweb::platform {

using DefaultsValue = std::variant<std::string, std::int64_t, double, bool>;

class VEXLOWEB_EXPORT UserDefaults {
 public:
  // The app's standard store, opened at first use at the standard path. Never destroyed.
  static UserDefaults& standard();
  // Points the standard store at `file` (created with its folders when missing). Takes effect at
  // once: the next use of standard() works on the new file.
  static void setStandardPath(std::filesystem::path file);
  // Points the standard store at a fresh in-memory store (for tests that need no disk).
  static void setStandardInMemory();
  // ${XDG_CONFIG_HOME:-$HOME/.config}/vexloweb/<executable name>.defaults.sqlite3
  static std::filesystem::path defaultStandardPath();
  // The process-wide store on `file` (one object for each absolute path, so that every caller
  // naming the same file shares its lock), opened at first use, closed at exit, never destroyed.
  static UserDefaults& atPath(const std::filesystem::path& file);

  // A store on the SQLite file at `file`, opened at first use.
  explicit UserDefaults(std::filesystem::path file);
  // A store that lives in memory only.
  static std::unique_ptr<UserDefaults> inMemory();
  ~UserDefaults();
  UserDefaults(const UserDefaults&) = delete;
  UserDefaults& operator=(const UserDefaults&) = delete;

  // Stores `value` under `key`; nothing removes the key.
  void setObject(std::optional<DefaultsValue> value, std::string_view key);
  // The value under `key`, or nothing.
  std::optional<DefaultsValue> object(std::string_view key) const;
  // Every key the store holds, sorted.
  std::vector<std::string> keys() const;

  // The database file, or empty for an in-memory store.
  std::filesystem::path path() const;
  // False for an in-memory store, and after a failure made the store fall back to memory.
  bool isPersistent() const;
  // Why the store keeps its values in memory instead of its file, or nothing while it does not.
  std::optional<std::string> failure() const;
  // True: every later commit waits until the file is on disk (synchronous=FULL), so it survives
  // a power loss too. False (the default): a commit survives a crash of the process only.
  void setSyncOnCommit(bool sync);

  // Groups writes into one atomic commit: all of them land, or none. While one is open on a
  // thread, other threads' calls on the store wait. Transactions nest; the outermost commits
  // when it is destroyed. Do not use AppDataInstance, nor start a load, while one is open: a
  // host's modification of the record, or a load on another thread, may be waiting for this
  // store while holding what this thread would wait for.
  class Transaction {
   public:
    explicit Transaction(UserDefaults& defaults);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

   private:
    UserDefaults& defaults_;
    std::unique_lock<std::recursive_mutex> lock_;
    int generation_;
  };

 private:
  struct Impl;
  explicit UserDefaults(std::unique_ptr<Impl> impl);
  static UserDefaults& share(std::unique_ptr<UserDefaults> defaults);
  static void closeSharedStoresAtExit() noexcept;
  std::unique_ptr<Impl> impl_;
};

}  // namespace vexloweb::platform
