// The one-line description of a layout constraint: "id: <identifier>, constant: <constant>".
// It is what LayoutConstraint::description() and operator<< give. Pure; any thread.
#pragma once

#include <optional>
#include <string>

#include "vexloweb/export.hpp"

namespace vexloweb {

// "id: topMargin, constant: 8.0"; a missing or empty identifier gives "id: , constant: 0.0".
VEXLOWEB_EXPORT std::string constraintDescription(const std::optional<std::string>& identifier,
                                                  double constant);

// A constant as the description writes it: the shortest digits that read back as the same
// double, always with a point ("8.0", "-12.25", "1000000.0", "-0.0"); magnitudes below 0.0001 in
// exponent form with a sign and at least two exponent digits ("1e-05", "1.2e-05"); and, since
// beyond 2^53 doubles no longer hold every integer, magnitudes from 2^53 up in exponent form too
// ("1e+16"). "inf", "-inf" and "nan" stand for themselves.
VEXLOWEB_EXPORT std::string formatConstant(double constant);

}  // namespace vexloweb
