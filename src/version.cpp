#include "vexloweb/version.hpp"

namespace vexloweb {

const double VexloWebLibVersionNumber = 1.0;
const char VexloWebLibVersionString[] = "1.0";

}  // namespace vexloweb
