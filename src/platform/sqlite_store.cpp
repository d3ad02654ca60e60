// The user-defaults store on SQLite: one table, WAL journal, synchronous=NORMAL (a commit survives
// a crash of the process) or FULL (it survives power loss too), and a busy timeout so that several
// processes can share the file. SQLite's result codes become our words here and nowhere else.
#include <sqlite3.h>
#include <stdlib.h>  // mkstemp
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <limits>
#include <system_error>
#include <thread>

#include "platform/defaults_store.hpp"
#include "platform/store_files.hpp"

namespace vexloweb::platform {
namespace {

constexpr int kBusyTimeoutMs = 5000;
constexpr int kJournalAttempts = 50;
// The one table of a store. Its columns, in order, are how a store is told from another
// program's database.
constexpr char kCreateTable[] =
    "CREATE TABLE entries("
    "  key TEXT PRIMARY KEY NOT NULL, kind INTEGER NOT NULL, value) WITHOUT ROWID";
constexpr char kColumns[] = "key kind value";

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
      // SQLite stores NaN as NULL.
      if (sqlite3_column_type(row, valueColumn) == SQLITE_NULL)
        return std::numeric_limits<double>::quiet_NaN();
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

  // Opens the store file, which exists and starts as an SQLite database, and checks that it is
  // ours before anything is written; the failure's code and reason otherwise. SQLITE_NOTFOUND:
  // the file is another program's database, left as it is. A reader changes nothing: it cannot
  // write (query_only), and as the last connection to close it removes the "-wal" and "-shm"
  // files that opening a WAL database made. A WAL database needs a connection that may write
  // them; any other is opened read-only.
  int open(const std::filesystem::path& file, const StoreOptions& options, bool wal,
           std::string& reason) {
    const int flags = SQLITE_OPEN_FULLMUTEX |
                      (options.write || wal ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY);
    int code = sqlite3_open_v2(file.c_str(), &db_, flags, nullptr);
    if (code != SQLITE_OK) {
      reason = describe(db_, code, "cannot open the database");
      return code;
    }
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);
    sqlite3_extended_result_codes(db_, 1);
    if (!options.write) sqlite3_exec(db_, "PRAGMA query_only=1", nullptr, nullptr, nullptr);
    if ((code = checkOwnership(reason)) != SQLITE_OK) return code;
    if (!options.write) return SQLITE_OK;
    if ((code = useWal(reason)) != SQLITE_OK) return code;
    const char* synchronous =
        options.syncFull ? "PRAGMA synchronous=FULL" : "PRAGMA synchronous=NORMAL";
    if ((code = sqlite3_exec(db_, synchronous, nullptr, nullptr, nullptr)) != SQLITE_OK) {
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
    sqlite3_bind_text64(s, 1, key.data(), key.size(), SQLITE_STATIC, SQLITE_UTF8);
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
    sqlite3_bind_text64(s, 1, key.data(), key.size(), SQLITE_STATIC, SQLITE_UTF8);
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
      // By its length: a key may hold NUL.
      const auto* key = reinterpret_cast<const char*>(sqlite3_column_text(s, 0));
      entries.emplace_back(std::string(key != nullptr ? key : "",
                                       static_cast<std::size_t>(sqlite3_column_bytes(s, 0))),
                           readValue(s, 1, 2));
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

  // Refuses a database that is not exactly a store: one table, ours, and nothing else (no view,
  // index or trigger). Another program's database may be empty, or have a table of that name.
  int checkOwnership(std::string& reason) {
    sqlite3_stmt* statement = nullptr;
    int code = sqlite3_prepare_v2(
        db_,
        "SELECT (SELECT group_concat(type || ' ' || name, ',') FROM sqlite_schema), "
        "(SELECT group_concat(name, ' ') FROM "
        "(SELECT name FROM pragma_table_info('entries') ORDER BY cid))",
        -1, &statement, nullptr);
    if (code == SQLITE_OK) code = sqlite3_step(statement);
    bool ours = false;
    if (code == SQLITE_ROW) {
      const auto* schema = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
      const auto* columns = reinterpret_cast<const char*>(sqlite3_column_text(statement, 1));
      ours = schema != nullptr && std::strcmp(schema, "table entries") == 0 && columns != nullptr &&
             std::strcmp(columns, kColumns) == 0;
    }
    sqlite3_finalize(statement);
    if (code != SQLITE_ROW) {
      reason = describe(db_, code, "cannot read the database");
      return code;
    }
    if (!ours) {
      reason =
          "is another program's database (it is not the one table of a store); leaving it "
          "as it is";
      return SQLITE_NOTFOUND;
    }
    return SQLITE_OK;
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

// Makes a fresh store in a temporary file beside `file` and renames it into place, so that no
// process ever finds a store half made (an empty file is not a store). When another process
// renamed its own first, that one is kept. False with the reason when none could be made.
bool createStoreFile(const std::filesystem::path& file, std::string* whyNot) {
  const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
  std::string name(1, '.');  // by appending: g++ 12 at -O3 warns falsely on "." + std::string
  name.append(file.filename().string()).append(".XXXXXX");
  std::string temporary = (folder / name).string();
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) {
    *whyNot = inQuotes(file.string()) + ": cannot create the store: " + std::strerror(errno);
    return false;
  }
  ::close(fd);
  sqlite3* db = nullptr;
  int code = sqlite3_open_v2(temporary.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
  if (code == SQLITE_OK) {
    code = sqlite3_exec(db, (std::string("PRAGMA journal_mode=WAL;") + kCreateTable).c_str(),
                        nullptr, nullptr, nullptr);
  }
  if (code != SQLITE_OK)
    *whyNot = inQuotes(file.string()) + ": " + describe(db, code, "cannot create the store");
  // Closing the only connection folds the journal into the file and removes it.
  if (sqlite3_close(db) != SQLITE_OK && code == SQLITE_OK) {
    code = SQLITE_ERROR;
    *whyNot = inQuotes(file.string()) + ": cannot create the store: cannot close it";
  }
  if (code == SQLITE_OK && !renameNoReplace(temporary, file.string()) && errno != EEXIST) {
    code = SQLITE_ERROR;
    *whyNot = inQuotes(file.string()) + ": cannot create the store: " + std::strerror(errno);
  }
  removeWithJournal(temporary);  // renamed, or given up
  if (code != SQLITE_OK) return false;
  syncFolderOf(file);
  return true;
}

}  // namespace

std::unique_ptr<DefaultsStore> openSqliteStore(const std::filesystem::path& file,
                                               const StoreOptions& options, std::string* whyNot,
                                               std::string* notice) {
  std::error_code error;
  if (options.write && file.has_parent_path())
    std::filesystem::create_directories(file.parent_path(), error);
  for (int attempt = 0; attempt < 2; ++attempt) {
    StoreFileLook look = lookAtStoreFile(file);
    if (!look.exists && options.write) {
      if (!createStoreFile(file, whyNot)) return nullptr;
      look = lookAtStoreFile(file);
    }
    if (!look.exists) {
      *whyNot = inQuotes(file.string()) + ": there is no store";
      return nullptr;
    }
    if (!look.whyNot.empty()) {
      *whyNot = look.whyNot;
      return nullptr;
    }
    auto store = std::make_unique<SqliteStore>();
    std::string reason;
    const int code = store->open(file, options, look.wal, reason);
    if (code == SQLITE_OK) return store;
    store.reset();
    std::string movedTo;
    if (attempt == 0 && options.write && notADatabase(code) && moveAside(file, movedTo)) {
      *notice = inQuotes(file.string()) + " was not a usable database; moved it to " +
                inQuotes(movedTo) + " and started a fresh store";
      continue;
    }
    *whyNot = inQuotes(file.string()) + (code == SQLITE_NOTFOUND ? " " : ": ") + reason;
    return nullptr;
  }
  return nullptr;
}

}  // namespace vexloweb::platform
