// Reads a store's file directly with SQLite, as the next start of the app would open it.
#pragma once

#include <sqlite3.h>

#include <filesystem>
#include <string>

namespace vexloweb::testing {

// The first column of the first row `sql` gives, its statements run in turn on a connection that
// may create the file and write (after a crash only a connection that can write may recover the
// journal); "" when there is none.
inline std::string firstValue(const std::filesystem::path& file, const char* sql) {
  sqlite3* db = nullptr;
  sqlite3_open(file.c_str(), &db);
  std::string first;
  const auto keepFirst = [](void* out, int, char** values, char**) {
    auto& kept = *static_cast<std::string*>(out);
    if (kept.empty() && values[0] != nullptr) kept = values[0];
    return 0;
  };
  sqlite3_exec(db, sql, keepFirst, &first, nullptr);
  sqlite3_close(db);
  return first;
}

}  // namespace vexloweb::testing
