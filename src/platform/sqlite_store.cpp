// The user-defaults store on SQLite: one table, WAL journal, synchronous=NORMAL (a commit survives
// a crash of the process), and a busy timeout so that several processes can share the file.
// SQLite's result codes become our words here and nowhere else.
#include <sqlite3.h>

#include <chrono>
#include <system_error>
#include <thread>

#include "platform/defaults_store.hpp"

namespace vexloweb::platform {
namespace {

constexpr int kBusyTimeoutMs = 5000;
constexpr int kJournalAttempts = 50;

enum class Kind : int { kString = 0, kInteger = 1, kDouble = 2, kBool = 3 };

std::string describe(sqlite3* db, int code, std::string_view doing) {
  std::string reason(doing);
  reason += ": ";
  reason += db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(code);
  if ((code & 0xFF) == SQLITE_BUSY) reason += " (another process holds the store too long)";
  if ((code & 0xFF) == SQLITE_READONLY) reason += " (the file or its folder is read-only)";
  return reason;
}

bool notADatabase(int code) {
  return (code & 0xFF) == SQLITE_NOTADB || (code & 0xFF) == SQLITE_CORRUPT;
}

// A statement prepared on its first use, so that opening the store for a load prepares only
// what a load runs.
class Statement {
 public:
  explicit Statement(const char* sql) : sql_(sql) {}
  ~Statement() { sqlite3_finalize(statement_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  // The prepared statement, or null with `code` set when it cannot be prepared.
  sqlite3_stmt* get(sqlite3* db, int& code) {
    code = SQLITE_OK;
    if (statement_ == nullptr) {
      code = sqlite3_prepare_v3(db, sql_, -1, SQLITE_PREPARE_PERSISTENT, &statement_, nullptr);
    }
    return statement_;
  }
  // Runs a statement without results once; resets it and clears its bindings after.
  int stepOnce(sqlite3* db) {
    int code = SQLITE_OK;
    sqlite3_stmt* statement = get(db, code);
    if (statement == nullptr) return code;
    code = sqlite3_step(statement);
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    return code;
  }

 private:
  const char* sql_;
  sqlite3_stmt* statement_ = nullptr;
};

DefaultsValue readValue(sqlite3_stmt* row, int kindColumn, int valueColumn) {
  switch (static_cast<Kind>(sqlite3_column_int(row, kindColumn))) {
    case Kind::kInteger:
      return std::int64_t{sqlite3_column_int64(row, valueColumn)};
    case Kind::kDouble:
      return sqlite3_column_double(row, valueColumn);
    case Kind::kBool:
      return sqlite3_column_int(row, valueColumn) != 0;
    case Kind::kString:
      break;
  }
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(row, valueColumn));
  return std::string(text != nullptr ? text : "",
                     static_cast<std::size_t>(sqlite3_column_bytes(row, valueColumn)));
}

class SqliteStore final : public DefaultsStore {
 public:
  // close_v2 lets the statements be finalized after it, as the members' destructors do.
  ~SqliteStore() override { sqlite3_close_v2(db_); }
  SqliteStore() = default;
  SqliteStore(const SqliteStore&) = delete;
  SqliteStore& operator=(const SqliteStore&) = delete;

  // Opens and sets up the file; the failure's code and reason otherwise.
  int open(const std::filesystem::path& file, std::string& reason) {
    int code = sqlite3_open_v2(file.c_str(), &db_,
                               SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX,
                               nullptr);
    if (code != SQLITE_OK) {
      reason = describe(db_, code, "cannot open the database");
      return code;
    }
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);
    sqlite3_extended_result_codes(db_, 1);
    if ((code = useWal(reason)) != SQLITE_OK) return code;
    const char* setup =
        "PRAGMA synchronous=NORMAL;"
        "CREATE TABLE IF NOT EXISTS entries("
        "  key TEXT PRIMARY KEY NOT NULL, kind INTEGER NOT NULL, value) WITHOUT ROWID;";
    if ((code = sqlite3_exec(db_, setup, nullptr, nullptr, nullptr)) != SQLITE_OK) {
      reason = describe(db_, code, "cannot set up the database");
      return code;
    }
    return SQLITE_OK;
  }

  StoreFailure put(std::string_view key, const DefaultsValue* value) override {
    Statement& statement = value != nullptr ? put_ : remove_;
    int code = SQLITE_OK;
    sqlite3_stmt* s = statement.get(db_, code);
    if (s == nullptr) return describe(db_, code, "cannot prepare a write");
    sqlite3_bind_text(s, 1, key.data(), static_cast<int>(key.size()), SQLITE_STATIC);
    if (value != nullptr) {
      sqlite3_bind_int(s, 2, static_cast<int>(value->index()));
      std::visit(
          [s](const auto& v) {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::string>) {
              sqlite3_bind_text64(s, 3, v.data(), v.size(), SQLITE_STATIC, SQLITE_UTF8);
            } else if constexpr (std::is_same_v<T, double>) {
              sqlite3_bind_double(s, 3, v);
            } else {
              sqlite3_bind_int64(s, 3, static_cast<sqlite3_int64>(v));
            }
          },
          *value);
    }
    code = statement.stepOnce(db_);
    if (code != SQLITE_DONE) return describe(db_, code, "cannot write the database");
    return std::nullopt;
  }

  StoreFailure get(std::string_view key, std::optional<DefaultsValue>& value) override {
    int code = SQLITE_OK;
    sqlite3_stmt* s = get_.get(db_, code);
    if (s == nullptr) return describe(db_, code, "cannot prepare a read");
    sqlite3_bind_text(s, 1, key.data(), static_cast<int>(key.size()), SQLITE_STATIC);
    code = sqlite3_step(s);
    value = code == SQLITE_ROW ? std::optional(readValue(s, 0, 1)) : std::nullopt;
    sqlite3_reset(s);
    sqlite3_clear_bindings(s);
    if (code != SQLITE_ROW && code != SQLITE_DONE) {
      return describe(db_, code, "cannot read the database");
    }
    return std::nullopt;
  }

  StoreFailure all(DefaultsEntries& entries) override {
    int code = SQLITE_OK;
    sqlite3_stmt* s = all_.get(db_, code);
    if (s == nullptr) return describe(db_, code, "cannot prepare a read");
    entries.clear();
    while ((code = sqlite3_step(s)) == SQLITE_ROW) {
      const auto* key = reinterpret_cast<const char*>(sqlite3_column_text(s, 0));
      entries.emplace_back(key != nullptr ? key : "", readValue(s, 1, 2));
    }
    sqlite3_reset(s);
    if (code != SQLITE_DONE) return describe(db_, code, "cannot read the database");
    return std::nullopt;
  }

  StoreFailure begin() override { return run(begin_, "cannot begin a transaction"); }
  StoreFailure commit() override { return run(commit_, "cannot commit"); }
  void rollback() override {
    if (sqlite3_get_autocommit(db_) == 0) rollback_.stepOnce(db_);
  }

 private:
  StoreFailure run(Statement& statement, std::string_view doing) {
    const int code = statement.stepOnce(db_);
    if (code != SQLITE_DONE) return describe(db_, code, doing);
    return std::nullopt;
  }

  // Switches to WAL. Another process opening the same new file at the same moment can hold the
  // lock the switch needs for longer than the busy handler waits, so try again a few times.
  int useWal(std::string& reason) {
    int code = SQLITE_OK;
    for (int attempt = 0; attempt < kJournalAttempts; ++attempt) {
      sqlite3_stmt* statement = nullptr;
      code = sqlite3_prepare_v2(db_, "PRAGMA journal_mode=WAL", -1, &statement, nullptr);
      std::string mode;
      if (code == SQLITE_OK && (code = sqlite3_step(statement)) == SQLITE_ROW) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
        mode = text != nullptr ? text : "";
        code = SQLITE_OK;
      }
      sqlite3_finalize(statement);
      if (code == SQLITE_OK && mode == "wal") return SQLITE_OK;
      if (code != SQLITE_OK && (code & 0xFF) != SQLITE_BUSY && (code & 0xFF) != SQLITE_LOCKED) {
        reason = describe(db_, code, "cannot switch the journal to WAL");
        return code;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(2 + attempt));
    }
    reason = "cannot switch the journal to WAL: the store stayed busy";
    return code == SQLITE_OK ? SQLITE_BUSY : code;
  }

  sqlite3* db_ = nullptr;
  Statement put_{
      "INSERT INTO entries(key, kind, value) VALUES(?1, ?2, ?3) "
      "ON CONFLICT(key) DO UPDATE SET kind = excluded.kind, value = excluded.value"};
  Statement remove_{"DELETE FROM entries WHERE key = ?1"};
  Statement get_{"SELECT kind, value FROM entries WHERE key = ?1"};
  Statement all_{"SELECT key, kind, value FROM entries ORDER BY key"};
  Statement begin_{"BEGIN IMMEDIATE"};
  Statement commit_{"COMMIT"};
  Statement rollback_{"ROLLBACK"};
};

// 'text' (built by appending: g++ 12 at -O3 warns falsely on "'" + std::string).
std::string inQuotes(const std::string& text) {
  std::string result(1, '\'');
  result.append(text).push_back('\'');
  return result;
}

// Moves `file` (and any journal beside it) to "<file>.corrupt-<seconds since 1970>".
bool moveAside(const std::filesystem::path& file, std::string& movedTo) {
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(
                           std::chrono::system_clock::now().time_since_epoch())
                           .count();
  const std::string target = file.string() + ".corrupt-" + std::to_string(seconds);
  std::error_code error;
  std::filesystem::rename(file, target, error);
  if (error) return false;
  for (const char* suffix : {"-wal", "-shm"}) {
    std::filesystem::path side = file.string() + suffix;
    if (std::filesystem::exists(side, error)) std::filesystem::rename(side, target + suffix, error);
  }
  movedTo = target;
  return true;
}

}  // namespace

std::unique_ptr<DefaultsStore> openSqliteStore(const std::filesystem::path& file,
                                               std::string* whyNot, std::string* notice) {
  std::error_code error;
  if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path(), error);
  for (int attempt = 0; attempt < 2; ++attempt) {
    auto store = std::make_unique<SqliteStore>();
    std::string reason;
    const int code = store->open(file, reason);
    if (code == SQLITE_OK) return store;
    store.reset();
    std::string movedTo;
    if (attempt == 0 && notADatabase(code) && moveAside(file, movedTo)) {
      *notice = inQuotes(file.string()) + " was not a usable database; moved it to " +
                inQuotes(movedTo) + " and started a fresh store";
      continue;
    }
    *whyNot = inQuotes(file.string()) + ": " + reason;
    return nullptr;
  }
  return nullptr;
}

}  // namespace vexloweb::platform
