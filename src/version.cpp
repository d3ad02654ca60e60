#include "vexloweb/version.hpp"

namespace vexloweb {

const double VexloWebLibVersionNumber = 1.0;
const char VexloWebLibVersionString[] = "1.0";

const char* libraryVersion() noexcept { return VEXLOWEB_VERSION_STRING; }

}  // namespace vexloweb
