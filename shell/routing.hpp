// Where the shell opens an address: the first `external_browser_url` rule whose condition holds
// for the address against the rule's `url` decides by its `type`; no rule that matches: inside.
// Comparisons are whole-string and case-sensitive, with no normalisation. A rule whose condition
// is absent or not one of the six condition words, or whose `url` is absent, never matches; a
// matching rule whose type is absent or not one of the three type words opens inside. Pure.
#pragma once

#include <string_view>
#include <vector>

#include "vexloweb/config/list_records.hpp"
#include "vexloweb/constants/constants.hpp"

namespace vexloweb::shell {

using Open = Constants::WEBVIEW_OPEN_TYPE;

Open decideRoute(const std::vector<ExternalBrowseUrl>& rules, std::string_view address);

}  // namespace vexloweb::shell
