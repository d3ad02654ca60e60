// Color: an RGBA colour with components from 0.0 to 1.0, as the palette hands them out.
// Immutable; any thread.
#pragma once

#include "vexloweb/export.hpp"

namespace vexloweb::platform {

class VEXLOWEB_EXPORT Color {
 public:
  Color(double red, double green, double blue, double alpha)
      : red_(red), green_(green), blue_(blue), alpha_(alpha) {}

  double red() const { return red_; }
  double green() const { return green_; }
  double blue() const { return blue_; }
  double alpha() const { return alpha_; }

 private:
  double red_;
  double green_;
  double blue_;
  double alpha_;
};

}  // namespace vexloweb::platform
