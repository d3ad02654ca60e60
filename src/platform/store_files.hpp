// Internal: the user-defaults store's file as the file system sees it, for sqlite_store.cpp: what
// a file is before SQLite touches it, and moving a damaged store aside.
#pragma once

#include <filesystem>
#include <string>

namespace vexloweb::platform {

// What is at a store's path, judged from its type and first bytes, without changing it.
struct StoreFileLook {
  bool exists = false;
  bool wal = false;    // an SQLite database whose header says WAL journal
  std::string whyNot;  // why it cannot be a store (a folder, empty, not SQLite...), or empty
};
StoreFileLook lookAtStoreFile(const std::filesystem::path& file);

// 'text' (built by appending: g++ 12 at -O3 warns falsely on "'" + std::string).
std::string inQuotes(const std::string& text);

// Renames `from` to `to` unless `to` exists; errno says why not.
bool renameNoReplace(const std::string& from, const std::string& to);

// Moves `file` (and any journal beside it) to "<file>.corrupt-<seconds since 1970>", or to
// "...-<n>" when that name is taken: an earlier corrupt file is never replaced.
bool moveAside(const std::filesystem::path& file, std::string& movedTo);

// Removes `file` and the journal and shared-memory index SQLite may have left beside it.
void removeWithJournal(const std::string& file);

// Syncs the folder holding `file`, so that a rename into it survives a power loss.
void syncFolderOf(const std::filesystem::path& file);

}  // namespace vexloweb::platform
