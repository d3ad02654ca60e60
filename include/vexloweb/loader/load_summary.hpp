// What a load left behind, as JSON: the held record and the exported user defaults. For
// `vexloweb load` and `defaults`, and for hosts that log their configuration. Any thread.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "vexloweb/export.hpp"
#include "vexloweb/loader/load_pipeline.hpp"
#include "vexloweb/platform/user_defaults.hpp"

namespace vexloweb {

// The eighteen keys a successful load writes, in the order it writes them: the sixteen ad keys
// ("ADMOB_ID" ... "FB_REWARDED_DELAY"), then "COLOR_PRIMARY" and "COLOR_PRIMARY_DARK".
VEXLOWEB_EXPORT const std::array<std::string_view, 18>& exportedKeys();

// {"name":NAME,"configureData":<the held record's encode(), or null>,"defaults":{...}} where
// "defaults" holds each exported key that the standard store holds.
VEXLOWEB_EXPORT std::string loadSummaryJson(std::string_view name);

// The same after the load that gave `outcome`: when it failed, "defaults" is {} (the load
// exported nothing; the store still holds an earlier load's values), and "configureData" is the
// record the app still holds.
VEXLOWEB_EXPORT std::string loadSummaryJson(std::string_view name, const LoadOutcome& outcome);

// The entries of `store` as one JSON object: all of them sorted by key, or those of `keys` that
// it holds, in that order. Strings, integers, numbers and booleans keep their JSON types.
VEXLOWEB_EXPORT std::string defaultsJson(const platform::UserDefaults& store,
                                         const std::vector<std::string>& keys = {});

}  // namespace vexloweb
