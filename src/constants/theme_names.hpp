// Internal: the 60 theme names the theme export recognises, for the export, the file check's
// warnings and the schema's suggestions.
#pragma once

#include <array>
#include <string_view>

#include "vexloweb/constants/constants.hpp"

namespace vexloweb {

// The recognised names, from the catalogue so the two never drift: THEME_PRIMARY, then
// gradients 1 to 17, then solids 1 to 42.
inline constexpr std::array<std::string_view, 60> kThemeNames{
    Constants::THEME_PRIMARY,     Constants::THEME_GRADIENT_1,  Constants::THEME_GRADIENT_2,
    Constants::THEME_GRADIENT_3,  Constants::THEME_GRADIENT_4,  Constants::THEME_GRADIENT_5,
    Constants::THEME_GRADIENT_6,  Constants::THEME_GRADIENT_7,  Constants::THEME_GRADIENT_8,
    Constants::THEME_GRADIENT_9,  Constants::THEME_GRADIENT_10, Constants::THEME_GRADIENT_11,
    Constants::THEME_GRADIENT_12, Constants::THEME_GRADIENT_13, Constants::THEME_GRADIENT_14,
    Constants::THEME_GRADIENT_15, Constants::THEME_GRADIENT_16, Constants::THEME_GRADIENT_17,
    Constants::THEME_SOLID_1,     Constants::THEME_SOLID_2,     Constants::THEME_SOLID_3,
    Constants::THEME_SOLID_4,     Constants::THEME_SOLID_5,     Constants::THEME_SOLID_6,
    Constants::THEME_SOLID_7,     Constants::THEME_SOLID_8,     Constants::THEME_SOLID_9,
    Constants::THEME_SOLID_10,    Constants::THEME_SOLID_11,    Constants::THEME_SOLID_12,
    Constants::THEME_SOLID_13,    Constants::THEME_SOLID_14,    Constants::THEME_SOLID_15,
    Constants::THEME_SOLID_16,    Constants::THEME_SOLID_17,    Constants::THEME_SOLID_18,
    Constants::THEME_SOLID_19,    Constants::THEME_SOLID_20,    Constants::THEME_SOLID_21,
    Constants::THEME_SOLID_22,    Constants::THEME_SOLID_23,    Constants::THEME_SOLID_24,
    Constants::THEME_SOLID_25,    Constants::THEME_SOLID_26,    Constants::THEME_SOLID_27,
    Constants::THEME_SOLID_28,    Constants::THEME_SOLID_29,    Constants::THEME_SOLID_30,
    Constants::THEME_SOLID_31,    Constants::THEME_SOLID_32,    Constants::THEME_SOLID_33,
    Constants::THEME_SOLID_34,    Constants::THEME_SOLID_35,    Constants::THEME_SOLID_36,
    Constants::THEME_SOLID_37,    Constants::THEME_SOLID_38,    Constants::THEME_SOLID_39,
    Constants::THEME_SOLID_40,    Constants::THEME_SOLID_41,    Constants::THEME_SOLID_42,
};

}  // namespace vexloweb
