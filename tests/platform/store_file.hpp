// Reads a store's file directly with SQLite, as the next start of the app would open it.
#pragma once

#include <sqlite3.h>

#include <filesystem>
#include <string>

namespace vexloweb::testing {

// The first column of the first row `sql` gives, on a read-write connection (after a crash only
// a connection that can write may recover the journal); "" when there is none.
inline std::string firstValue(const std::filesystem::path& file, const char* sql) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
  sqlite3_stmt* statement = nullptr;
  std::string result;
  if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK &&
      sqlite3_step(statement) == SQLITE_ROW) {
    result = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
  }
  sqlite3_finalize(statement);
  sqlite3_close(db);
  return result;
}

}  // namespace vexloweb::testing
