// Internal: hands one warning line to the host's diagnostic handler, never while this thread
// holds a lock of the library: a section that holds one puts the lines off until it ends.
#pragma once

#include <string_view>

namespace vexloweb::platform {

// Delivers `line` now, or at the end of the outermost DeferDiagnostics of this thread. A handler
// that throws is contained: its exception is dropped.
void diagnose(std::string_view line) noexcept;

// Puts this thread's warnings off while it lives (sections nest); call release() once the
// section's locks are unlocked, or let the destructor do it.
class DeferDiagnostics {
 public:
  DeferDiagnostics() noexcept;
  ~DeferDiagnostics() { release(); }
  DeferDiagnostics(const DeferDiagnostics&) = delete;
  DeferDiagnostics& operator=(const DeferDiagnostics&) = delete;

  // Ends the section; the outermost one delivers what was put off.
  void release() noexcept;

 private:
  bool released_ = false;
};

// The same, for a section whose object cannot hold a DeferDiagnostics: each call of
// deferDiagnostics() is matched by one of resumeDiagnostics().
void deferDiagnostics() noexcept;
void resumeDiagnostics() noexcept;

}  // namespace vexloweb::platform
