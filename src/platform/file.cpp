#include "vexloweb/platform/file.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

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

 private:
  int fd_;
};

std::string errnoText(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

}  // namespace

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
