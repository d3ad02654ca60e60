// The JSON Schema (draft 2020-12) of the configuration document, generated from the same field
// table the decoder reads, for editors and generators that validate documents before sealing.
#pragma once

#include <string>

#include "vexloweb/export.hpp"

namespace vexloweb {

// The schema as one line of JSON text. Every member may be null or absent; members that are not
// keys are allowed (the decoder ignores them).
VEXLOWEB_EXPORT std::string configurationSchema();

}  // namespace vexloweb
