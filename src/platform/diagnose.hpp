// Internal: hands one warning line to the host's diagnostic handler. Call it with no lock held.
#pragma once

#include <string_view>

namespace vexloweb::platform {

void diagnose(std::string_view line);

}  // namespace vexloweb::platform
