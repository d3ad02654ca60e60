#include "vexloweb/view/constraint_description.hpp"

#include <charconv>
#include <cmath>

#include "vexloweb/platform/view.hpp"

namespace vexloweb {

std::string formatConstant(double constant) {
  if (std::isnan(constant)) return "nan";
  if (std::isinf(constant)) return constant < 0 ? "-inf" : "inf";
  constexpr double kSmall = 1e-4;
  constexpr double kLarge = 9007199254740992.0;  // 2^53
  const double magnitude = std::fabs(constant);
  const bool exponent = (magnitude < kSmall && magnitude != 0.0) || magnitude >= kLarge;
  char buffer[64];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, constant,
                    exponent ? std::chars_format::scientific : std::chars_format::fixed);
  std::string text(buffer, result.ptr);
  if (!exponent && text.find('.') == std::string::npos) text += ".0";
  return text;
}

std::string constraintDescription(const std::optional<std::string>& identifier, double constant) {
  return "id: " + identifier.value_or("") + ", constant: " + formatConstant(constant);
}

// The layout model's own description is this one, as if the view helpers had replaced it.
std::string platform::LayoutConstraint::description() const {
  return constraintDescription(identifier(), constant());
}

}  // namespace vexloweb
