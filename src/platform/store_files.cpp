#include "platform/store_files.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cstdio>  // renameat2
#include <cstring>

namespace vexloweb::platform {

StoreFileLook lookAtStoreFile(const std::filesystem::path& file) {
  static constexpr char kHeader[] = "SQLite format 3";  // and its NUL
  constexpr std::size_t kHeaderSize = 100;              // every database has at least this much
  constexpr std::size_t kWriteVersion = 18, kReadVersion = 19;  // 2 and 2: a WAL database
  StoreFileLook look;
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) {
    look.exists = errno != ENOENT;
    if (look.exists)
      look.whyNot = inQuotes(file.string()) + ": cannot read it: " + std::strerror(errno);
    return look;
  }
  look.exists = true;
  struct stat status {};
  std::array<char, kHeaderSize> header{};
  ssize_t got = -1;
  if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode)) {
    got = ::read(fd, header.data(), header.size());
  }
  ::close(fd);
  const std::string name = inQuotes(file.string());
  if (S_ISDIR(status.st_mode)) {
    look.whyNot = name + " is a folder, not a store";
  } else if (!S_ISREG(status.st_mode)) {
    look.whyNot = name + " is not a regular file, so not a store; leaving it as it is";
  } else if (got == 0) {
    look.whyNot = name + " is an empty file, not a store; leaving it as it is";
  } else if (got != static_cast<ssize_t>(header.size()) ||
             std::memcmp(header.data(), kHeader, sizeof kHeader) != 0) {
    look.whyNot = name + " is not an SQLite database; leaving it as it is";
  }
  look.wal = header[kWriteVersion] == 2 && header[kReadVersion] == 2;
  return look;
}

std::string inQuotes(const std::string& text) {
  std::string result(1, '\'');
  result.append(text).push_back('\'');
  return result;
}

bool renameNoReplace(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  // A file system without RENAME_NOREPLACE: a hard link fails on an existing name too.
  if (::link(from.c_str(), to.c_str()) != 0) return false;
  ::unlink(from.c_str());
  return true;
}

bool moveAside(const std::filesystem::path& file, std::string& movedTo) {
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(
                           std::chrono::system_clock::now().time_since_epoch())
                           .count();
  const std::string stem = file.string() + ".corrupt-" + std::to_string(seconds);
  for (int n = 0; n < 1000; ++n) {
    const std::string target = n == 0 ? stem : stem + "-" + std::to_string(n);
    if (!renameNoReplace(file.string(), target)) {
      if (errno == EEXIST) continue;
      return false;
    }
    for (const char* suffix : {"-wal", "-shm"}) {
      const std::string side = file.string() + suffix;
      if (::access(side.c_str(), F_OK) == 0) renameNoReplace(side, target + suffix);
    }
    movedTo = target;
    return true;
  }
  return false;
}

void removeWithJournal(const std::string& file) {
  for (const char* suffix : {"", "-wal", "-shm", "-journal"}) ::unlink((file + suffix).c_str());
}

void syncFolderOf(const std::filesystem::path& file) {
  const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace vexloweb::platform
