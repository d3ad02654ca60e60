#include "vexloweb/platform/file.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>

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

}  // namespace

bool writeFileReplacing(const std::filesystem::path& path, std::string_view content,
                        std::string* whyNot) {
  std::string ignored;
  std::string& reason = whyNot != nullptr ? *whyNot : ignored;
  std::error_code error;
  std::filesystem::path target = path;
  if (std::filesystem::is_symlink(path, error)) {
    target = std::filesystem::weakly_canonical(path, error);
    if (error) {
      reason = "cannot follow the link: " + error.message();
      return false;
    }
  }
  struct stat existing {};
  const bool exists = ::stat(target.c_str(), &existing) == 0;
  if (exists && !S_ISREG(existing.st_mode)) {
    reason = "not a regular file";
    return false;
  }
  const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
  // Built by appending: g++ 12 at -O3 warns falsely on "." + std::string (GCC bug 105651).
  std::string hidden(1, '.');
  hidden.append(target.filename().string()).append(".XXXXXX");
  std::string temporary = (folder / hidden).string();
  Fd fd(::mkostemp(temporary.data(), O_CLOEXEC));
  if (fd.get() < 0) {
    reason = errnoText("cannot create a file beside it");
    return false;
  }
  const mode_t mode = exists ? existing.st_mode & 07777 : 0666 & ~currentUmask();
  const bool written = ::fchmod(fd.get(), mode) == 0 && writeAll(fd.get(), content) &&
                       ::fsync(fd.get()) == 0 && fd.close();
  if (!written || ::rename(temporary.c_str(), target.c_str()) != 0) {
    reason = errnoText("cannot write the file");
    ::unlink(temporary.c_str());
    return false;
  }
  // The rename itself reaches the disk with the folder.
  const Fd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() >= 0) ::fsync(dir.get());
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
