// Internal: the two exports a successful load runs, in this order, right after storing the
// record. What they write is first read from AppDataInstance under the holder's lock alone; the
// store is then written with no lock of the holder held, so the two locks never nest.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "vexloweb/platform/user_defaults.hpp"

namespace vexloweb {

// The keys exportAdSettings() writes, in the order it writes them.
const std::array<std::string_view, 16>& adSettingKeys();

// What the exports write, taken from the held record.
struct ExportedSettings {
  bool held = false;                                           // false: the holder was empty
  std::array<std::optional<platform::DefaultsValue>, 16> ads;  // in adSettingKeys() order
  std::optional<std::string> theme;
};

// Reads the ad settings and the theme of the held record, under the holder's lock only.
ExportedSettings readExportedSettings();

// Writes the sixteen ad settings into `defaults`; an absent field removes its key. Nothing is
// written when the holder was empty.
void exportAdSettings(ExportedSettings& settings, platform::UserDefaults& defaults);

// Writes the colour names of the theme under "COLOR_PRIMARY" and "COLOR_PRIMARY_DARK"; an absent
// or unknown theme (or an empty holder) gives "colorPrimary" and "colorPrimaryDark".
void exportThemeSettings(const ExportedSettings& settings, platform::UserDefaults& defaults);

}  // namespace vexloweb
