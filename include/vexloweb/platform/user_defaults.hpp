// UserDefaults: the persistent key-value store that every successful load writes (the ad settings
// and theme colours) and that the host reads. One SQLite database file per store, shared safely
// by several processes; each write outside a Transaction is committed before it returns, so a
// crash never loses an acknowledged write. Values keep their type. Thread-safe.
//
// A store that cannot be opened or written never throws and never crashes the caller: it keeps
// its values in memory for the rest of the process and says why, once, through the diagnostic
// handler (platform/diagnostics.hpp; standard error by default). A
// file that is not a database is moved aside to "<name>.corrupt-<time>" and a fresh store begins.
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

  // Groups writes into one atomic commit: all of them land, or none. While one is open on a
  // thread, other threads' calls on the store wait. Transactions nest; the outermost commits
  // when it is destroyed. Do not use AppDataInstance while one is open: a host's modification
  // of the record may be waiting for this store with the holder's lock held.
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
  std::unique_ptr<Impl> impl_;
};

}  // namespace vexloweb::platform
