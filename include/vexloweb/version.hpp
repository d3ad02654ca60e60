// The library's version symbols, for hosts that check which build they linked.
// Plain constants: safe to read from any thread at any time.
#pragma once

namespace vexloweb {

// The version as a number (1.0 for this release).
extern const double VexloWebLibVersionNumber;

// The version as text ("1.0" for this release), NUL-terminated.
extern const char VexloWebLibVersionString[];

}  // namespace vexloweb
