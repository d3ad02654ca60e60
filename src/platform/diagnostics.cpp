#include "vexloweb/platform/diagnostics.hpp"

#include <iostream>
#include <mutex>
#include <string>
#include <vector>

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

thread_local int tDeferDepth = 0;
thread_local std::vector<std::string> tDeferred;

void deliver(std::string_view line) noexcept {
  try {
    DiagnosticHandler handler;
    {
      HandlerSlot& s = slot();
      std::lock_guard lock(s.mutex);
      handler = s.handler;
    }
    if (handler) handler(line);  // outside the slot's lock: the handler may set another one
  } catch (...) {
    // A handler that throws loses its line, never the caller's process.
  }
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

void diagnose(std::string_view line) noexcept {
  if (tDeferDepth > 0) {
    try {
      tDeferred.emplace_back(line);
    } catch (...) {  // out of memory: the line is lost, the caller goes on
    }
    return;
  }
  deliver(line);
}

void deferDiagnostics() noexcept { ++tDeferDepth; }

void resumeDiagnostics() noexcept {
  if (--tDeferDepth > 0) return;
  std::vector<std::string> lines;
  lines.swap(tDeferred);
  for (const std::string& line : lines) deliver(line);
}

DeferDiagnostics::DeferDiagnostics() noexcept { deferDiagnostics(); }

void DeferDiagnostics::release() noexcept {
  if (released_) return;
  released_ = true;
  resumeDiagnostics();
}

}  // namespace vexloweb::platform
