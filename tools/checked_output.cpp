#include "checked_output.hpp"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <string_view>

namespace vexloweb::tool {

void CheckedOutput::close() {
  sync();
  if (::close(1) != 0 && error_ == 0) error_ = errno;
}

int CheckedOutput::overflow(int c) {
  if (c == traits_type::eof()) return sync() == 0 ? 0 : traits_type::eof();
  if (buffer_.size() >= kBufferSize && sync() != 0) return traits_type::eof();
  buffer_.push_back(static_cast<char>(c));
  return c;
}

std::streamsize CheckedOutput::xsputn(const char* text, std::streamsize count) {
  buffer_.append(text, static_cast<std::size_t>(count));
  if (buffer_.size() >= kBufferSize && sync() != 0) return 0;
  return count;
}

int CheckedOutput::sync() {
  std::string_view pending = buffer_;
  while (!pending.empty() && error_ == 0) {
    const ssize_t done = ::write(1, pending.data(), pending.size());
    if (done < 0 && errno == EINTR) continue;
    if (done < 0) error_ = errno;
    if (done > 0) pending.remove_prefix(static_cast<std::size_t>(done));
  }
  buffer_.clear();
  return error_ == 0 ? 0 : -1;
}

CheckedOutput& checkedOutput() {
  static auto* const output = new CheckedOutput();
  return *output;
}

int finishOutput(int status) {
  constexpr int kBadInput = 1;
  constexpr int kUsage = 2;
  std::cout.flush();
  checkedOutput().close();
  if (const int error = checkedOutput().error()) {
    std::cerr << "vexloweb: cannot write standard output: " << std::strerror(error) << '\n';
    return status == 0 || status == kUsage ? kBadInput : status;
  }
  return status;
}

}  // namespace vexloweb::tool
