// Colors: the fixed palette the library gives its host, thirteen opaque colours whose components
// are n / 255.0 for 8-bit values n. Each colour is created on its first read (safely, from any
// thread) and the same object is returned for the life of the process.
#pragma once

#include "vexloweb/export.hpp"
#include "vexloweb/platform/color.hpp"

namespace vexloweb {

struct VEXLOWEB_EXPORT Colors {
  Colors() = delete;

  static const platform::Color& primaryColor();      // #EDBF65
  static const platform::Color& primaryDarkColor();  // #D29032
  static const platform::Color& accentColor();       // #34BF68
  static const platform::Color& brightOrange();      // #FF4500
  static const platform::Color& red();               // #FF7373
  static const platform::Color& orange();            // #FFAF48
  static const platform::Color& blue();              // #4A90E4
  static const platform::Color& green();             // #5BC59F
  static const platform::Color& darkGrey();          // #555555
  static const platform::Color& veryDarkGrey();      // #0D0D0D
  static const platform::Color& lightGrey();         // #C8C8C8
  static const platform::Color& black();             // #000000
  static const platform::Color& white();             // #FFFFFF
};

}  // namespace vexloweb
