#include "vexloweb/platform/file.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <vector>

namespace vexloweb::platform {
namespace {

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  // Closes now, reporting the error that close() may be the first to see.
  bool close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

std::string errnoText(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

// The process's umask, read without changing it (umask() would race with other threads).
mode_t currentUmask() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("Umask:", 0) == 0)
      return static_cast<mode_t>(std::stoul(line.substr(6), nullptr, 8));
  }
  return 022;
}

bool writeAll(int fd, std::string_view content) {
  while (!content.empty()) {
    const ssize_t done = ::write(fd, content.data(), content.size());
    if (done < 0 && errno == EINTR) continue;
    if (done < 0) return false;
    content.remove_prefix(static_cast<std::size_t>(done));
  }
  return true;
}

// The file a write replaces (a link is followed) and what the new one takes from it.
struct Target {
  std::filesystem::path path;
  std::filesystem::path folder;
  std::optional<mode_t> mode;  // the old file's permissions, when there is one
};

std::optional<Target> resolveTarget(const std::filesystem::path& path, std::string& reason) {
  std::error_code error;
  Target target{path, {}, {}};
  if (std::filesystem::is_symlink(path, error)) {
    target.path = std::filesystem::weakly_canonical(path, error);
    if (error) {
      reason = "cannot follow the link: " + error.message();
      return std::nullopt;
    }
  }
  struct stat existing {};
  if (::stat(target.path.c_str(), &existing) == 0) {
    if (!S_ISREG(existing.st_mode)) {
      reason = "not a regular file";
      return std::nullopt;
    }
    target.mode = existing.st_mode & 07777;
  }
  target.folder = target.path.has_parent_path() ? target.path.parent_path() : ".";
  return target;
}

// Writes `content` into a new temporary beside `target`, with the old file's permissions or
// 0666 less `umask`, synced to disk when `sync`. Returns the temporary's path; on failure
// nothing is left behind and `reason` says why.
std::optional<std::string> writeTemporary(const Target& target, std::string_view content,
                                          mode_t umask, bool sync, std::string& reason) {
  // Built by appending: g++ 12 at -O3 warns falsely on "." + std::string (GCC bug 105651).
  std::string hidden(1, '.');
  hidden.append(target.path.filename().string()).append(".XXXXXX");
  std::string temporary = (target.folder / hidden).string();
  Fd fd(::mkostemp(temporary.data(), O_CLOEXEC));
  if (fd.get() < 0) {
    // The usual newcomer's mistake is a folder not made yet: say so rather than "No such file".
    reason = errno == ENOENT ? "the folder '" + target.folder.string() + "' does not exist"
                             : errnoText("cannot create a file beside it");
    return std::nullopt;
  }
  if (::fchmod(fd.get(), target.mode.value_or(0666 & ~umask)) != 0 ||
      !writeAll(fd.get(), content) || (sync && ::fsync(fd.get()) != 0) || !fd.close()) {
    reason = errnoText("cannot write the file");
    ::unlink(temporary.c_str());
    return std::nullopt;
  }
  return temporary;
}

// The renames themselves reach the disk with their folder.
void syncFolder(const std::filesystem::path& folder) {
  const Fd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() >= 0) ::fsync(dir.get());
}

}  // namespace

bool writeFileReplacing(const std::filesystem::path& path, std::string_view content,
                        std::string* whyNot) {
  std::string ignored;
  std::string& reason = whyNot != nullptr ? *whyNot : ignored;
  const auto target = resolveTarget(path, reason);
  if (!target) return false;
  const auto temporary = writeTemporary(*target, content, currentUmask(), true, reason);
  if (!temporary) return false;
  if (::rename(temporary->c_str(), target->path.c_str()) != 0) {
    reason = errnoText("cannot write the file");
    ::unlink(temporary->c_str());
    return false;
  }
  syncFolder(target->folder);
  return true;
}

bool writeFilesReplacing(std::span<const FileWrite> files, std::string* whyNot,
                         std::size_t* failedIndex) {
  std::string ignored;
  std::string& reason = whyNot != nullptr ? *whyNot : ignored;
  std::size_t ignoredIndex = 0;
  std::size_t& failed = failedIndex != nullptr ? *failedIndex : ignoredIndex;
  std::vector<std::pair<Target, std::string>> written;  // each target and its temporary
  written.reserve(files.size());
  // Each folder is opened before its files are written: syncfs() reports a write-back error only
  // to descriptors opened before it happened. A folder that does not open (no read permission)
  // has its files synced one by one.
  struct Folder {
    int fd;
    std::size_t firstFile;
  };
  std::map<std::filesystem::path, Folder> folders;
  const auto fail = [&](std::size_t index, std::size_t firstTemporary) {
    failed = index;
    for (std::size_t i = firstTemporary; i < written.size(); ++i)
      ::unlink(written[i].second.c_str());
    for (const auto& [path, folder] : folders) {
      if (folder.fd >= 0) ::close(folder.fd);
    }
    folders.clear();
    return false;
  };
  const mode_t umask = currentUmask();
  for (std::size_t i = 0; i < files.size(); ++i) {
    auto target = resolveTarget(files[i].path, reason);
    if (!target) return fail(i, 0);
    auto folder = folders.find(target->folder);
    if (folder == folders.end()) {
      const int fd = ::open(target->folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
      folder = folders.emplace(target->folder, Folder{fd, i}).first;
    }
    auto temporary =
        writeTemporary(*target, files[i].content, umask, folder->second.fd < 0, reason);
    if (!temporary) return fail(i, 0);
    written.emplace_back(std::move(*target), std::move(*temporary));
  }
  // One sync of each file system for the whole batch rather than one per file: every temporary
  // is on disk before any of them replaces its file.
  for (const auto& [path, folder] : folders) {
    if (folder.fd >= 0 && ::syncfs(folder.fd) != 0) {
      reason = errnoText("cannot write the file");
      return fail(folder.firstFile, 0);
    }
  }
  for (std::size_t i = 0; i < written.size(); ++i) {
    if (::rename(written[i].second.c_str(), written[i].first.path.c_str()) != 0) {
      reason = errnoText("cannot write the file");
      if (i > 0) reason += " (the " + std::to_string(i) + " files before it were replaced)";
      return fail(i, i);
    }
  }
  for (const auto& [path, folder] : folders) {
    if (folder.fd < 0) continue;
    ::fsync(folder.fd);
    ::close(folder.fd);
  }
  return true;
}

bool isRegularFile(const std::filesystem::path& path) noexcept {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::optional<std::string> readRegularFile(const std::filesystem::path& path, std::string* whyNot) {
  std::string ignored;
  std::string& reason = whyNot != nullptr ? *whyNot : ignored;
  // O_NONBLOCK: opening a FIFO must not wait for a writer; it is refused just below.
  const Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  if (fd.get() < 0) {
    reason = errnoText("cannot open the file");
    return std::nullopt;
  }
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) {
    reason = errnoText("cannot examine the file");
    return std::nullopt;
  }
  if (!S_ISREG(info.st_mode)) {
    reason = "not a regular file";
    return std::nullopt;
  }
  std::string content;
  const auto expected = static_cast<std::size_t>(info.st_size);
  content.resize(expected);
  // Read what fstat promised, then probe for more: a file that grows meanwhile is read whole,
  // without reserving room for growth that almost never comes.
  std::size_t done = 0;
  for (;;) {
    char probe[4096];
    const bool full = done == content.size();
    char* target = full ? probe : content.data() + done;
    const std::size_t room = full ? sizeof probe : content.size() - done;
    const ssize_t got = ::read(fd.get(), target, room);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      reason = errnoText("cannot read the file");
      return std::nullopt;
    }
    if (got == 0) break;
    if (full) {
      content.append(probe, static_cast<std::size_t>(got));
      content.resize(content.capacity());
    }
    done += static_cast<std::size_t>(got);
  }
  content.resize(done);
  return content;
}

}  // namespace vexloweb::platform
