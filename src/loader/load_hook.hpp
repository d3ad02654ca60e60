// Internal: a hook that tests set to stop a load at a given stage and force an interleaving of
// concurrent loads. Stages: "decoded" (the record decoded, nothing held yet), "held" (the record
// held, the store not yet written), "exported" (every key written, not yet committed). No hook
// is set outside tests.
#pragma once

#include <string_view>

namespace vexloweb {

using LoadStageHook = void (*)(std::string_view stage, std::string_view fileName);

void setLoadStageHook(LoadStageHook hook);

}  // namespace vexloweb
