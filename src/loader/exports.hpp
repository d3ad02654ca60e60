// Internal: the two exports a successful load runs, in this order, right after storing the
// record. Both read the record back from AppDataInstance and write UserDefaults::standard().
#pragma once

#include <array>
#include <string_view>

namespace vexloweb {

// The keys exportAdSettings() writes, in the order it writes them.
const std::array<std::string_view, 16>& adSettingKeys();

// Writes the sixteen ad settings of the held record; an absent field removes its key.
void exportAdSettings();

// Writes the colour names of the held record's theme under "COLOR_PRIMARY" and
// "COLOR_PRIMARY_DARK"; an absent or unknown theme gives "colorPrimary" and "colorPrimaryDark".
void exportThemeSettings();

}  // namespace vexloweb
