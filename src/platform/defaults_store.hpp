// Internal: the storage behind UserDefaults: SQLite on disk, or a map in memory. Each operation
// gives back the reason of a failure, or nothing on success. Not thread-safe: UserDefaults locks.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "vexloweb/platform/user_defaults.hpp"

namespace vexloweb::platform {

using StoreFailure = std::optional<std::string>;
using DefaultsEntries = std::vector<std::pair<std::string, DefaultsValue>>;

class DefaultsStore {
 public:
  virtual ~DefaultsStore() = default;
  // Stores `value` under `key`, or removes the key when `value` is null.
  virtual StoreFailure put(std::string_view key, const DefaultsValue* value) = 0;
  virtual StoreFailure get(std::string_view key, std::optional<DefaultsValue>& value) = 0;
  // Every entry, sorted by key.
  virtual StoreFailure all(DefaultsEntries& entries) = 0;
  // A transaction: its writes land together at commit(), or none of them at rollback().
  virtual StoreFailure begin() = 0;
  virtual StoreFailure commit() = 0;
  virtual void rollback() = 0;
};

// A map in memory. Its writes cannot fail, so nothing ever rolls one of its transactions back
// (a failing database is what UserDefaults rolls back): begin, commit and rollback do nothing,
// and a write is final when it returns.
std::unique_ptr<DefaultsStore> makeMemoryStore(const DefaultsEntries& entries = {});

struct StoreOptions {
  // A writer creates the file (and its folders) when missing, switches it to WAL and moves a
  // damaged store of ours aside for a fresh one. A reader changes nothing and leaves nothing
  // behind once closed.
  bool write = true;
  bool syncFull = false;  // synchronous=FULL: commits survive power loss
};

// Opens the SQLite store at `file`. Before anything is written, the file must be a store: an
// SQLite database holding our one table and nothing else. A damaged store of ours is moved aside
// by a writer under a name no file has and replaced by a fresh one; *notice then says where it
// went. Any other file (a folder, an empty file, text, another program's database) is never
// touched. Null on failure, with the reason in *whyNot.
std::unique_ptr<DefaultsStore> openSqliteStore(const std::filesystem::path& file,
                                               const StoreOptions& options, std::string* whyNot,
                                               std::string* notice);

}  // namespace vexloweb::platform
