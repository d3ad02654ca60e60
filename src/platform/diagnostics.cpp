#include "vexloweb/platform/diagnostics.hpp"

#include <iostream>
#include <mutex>
#include <string>

#include "platform/diagnose.hpp"

namespace vexloweb::platform {
namespace {

struct HandlerSlot {
  std::mutex mutex;
  DiagnosticHandler handler = writeToStandardError;
};

HandlerSlot& slot() {
  static auto* const instance = new HandlerSlot();
  return *instance;
}

}  // namespace

DiagnosticHandler setDiagnosticHandler(DiagnosticHandler handler) {
  HandlerSlot& s = slot();
  std::lock_guard lock(s.mutex);
  s.handler.swap(handler);
  return handler;
}

void writeToStandardError(std::string_view line) {
  std::string text(line);
  text += '\n';
  std::cerr << text << std::flush;  // one write, so lines of two threads do not interleave
}

void diagnose(std::string_view line) {
  DiagnosticHandler handler;
  {
    HandlerSlot& s = slot();
    std::lock_guard lock(s.mutex);
    handler = s.handler;
  }
  if (handler) handler(line);  // outside the slot's lock: the handler may set another one
}

}  // namespace vexloweb::platform
