// `vexloweb-shell install`, `uninstall` and `list`: an app in the desktop's app menu, and out of
// it again. Each returns the exit status (0, or 1 with the reason on standard error).
#pragma once

#include <string>

namespace vexloweb::shell {

int installCommand(const std::string& bundle, const std::string& name);
int uninstallCommand(const std::string& nameOrId, bool purge);
int listCommand();

}  // namespace vexloweb::shell
