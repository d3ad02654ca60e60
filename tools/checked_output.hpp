// The tool's standard output: file descriptor 1 behind std::cout, remembering the first write
// error so that the tool names it (a full disk, a file-size limit, a closed pipe) instead of
// exiting 0.
#pragma once

#include <streambuf>
#include <string>

namespace vexloweb::tool {

class CheckedOutput : public std::streambuf {
 public:
  int error() const { return error_; }
  // Flushes, then closes the descriptor: some file systems report a failed write only there.
  void close();

 protected:
  int overflow(int c) override;
  std::streamsize xsputn(const char* text, std::streamsize count) override;
  int sync() override;

 private:
  static constexpr std::size_t kBufferSize = 1 << 16;
  std::string buffer_;
  int error_ = 0;
};

// The one instance, never destroyed: std::cout flushes into it at exit.
CheckedOutput& checkedOutput();

// Flushes and closes standard output; a write that failed on the way turns the exit status into
// 1, with the reason on standard error.
int finishOutput(int status);

}  // namespace vexloweb::tool
