// Where the library's one-line warnings go: the user-defaults store falling back to memory, a
// store file that was not a database moved aside. By default each line goes to standard error;
// a host routes them to its own log, or silences them, with setDiagnosticHandler. Thread-safe:
// the handler runs on the thread whose call caused the warning, with no lock of the library held
// (a warning raised inside AppDataInstance::modifyConfigureData or a load is delivered when it
// ends), so it may call back into the library. A handler that throws loses that line; the
// exception goes no further.
//
// Example:
//   vexloweb::platform::setDiagnosticHandler(
//       [](std::string_view line) { appLog(LogLevel::kWarning, line); });
#pragma once

#include <functional>
#include <string_view>

#include "vexloweb/export.hpp"

namespace vexloweb::platform {

// Takes one warning, without a line break ("vexloweb: user defaults: ...").
using DiagnosticHandler = std::function<void(std::string_view line)>;

// Sends every later warning to `handler`; an empty handler silences them. Returns the handler it
// replaces, so a host can put it back.
VEXLOWEB_EXPORT DiagnosticHandler setDiagnosticHandler(DiagnosticHandler handler);

// The default handler: writes the line and a line break to standard error.
VEXLOWEB_EXPORT void writeToStandardError(std::string_view line);

}  // namespace vexloweb::platform
