#include "vexloweb/view/visibility_state.hpp"

#include <array>
#include <optional>

namespace vexloweb {
namespace {

using platform::LayoutAttribute;
using platform::LayoutConstraint;
using platform::View;

enum class VisibilityState { visible, invisible, gone };
constexpr std::array<std::string_view, 3> kNames{"visible", "invisible", "gone"};

bool collapsesHeight(const LayoutConstraint& constraint) {
  return constraint.firstAttribute() == LayoutAttribute::height && constraint.constant() == 0.0;
}

VisibilityState derive(const View& view) {
  const auto hiddenState = view.isHidden() ? VisibilityState::invisible : VisibilityState::visible;
  for (const auto& constraint : view.constraints()) {
    // Only the first height-0 constraint counts, whoever it belongs to.
    if (collapsesHeight(*constraint)) {
      return constraint->isActive() ? VisibilityState::gone : hiddenState;
    }
  }
  return hiddenState;
}

// The view's own collapse constraint: stricter than derive()'s test, it must tie this view's
// height and nothing else.
LayoutConstraint* findCollapse(const View& view) {
  for (const auto& constraint : view.constraints()) {
    if (!collapsesHeight(*constraint) || constraint->secondItem() != nullptr) continue;
    if (dynamic_cast<const View*>(constraint->firstItem().get()) == &view) return constraint.get();
  }
  return nullptr;
}

}  // namespace

std::string visibilityState(const View& view) {
  return std::string(kNames[static_cast<std::size_t>(derive(view))]);
}

void setVisibilityState(View& view, std::string_view state) {
  std::optional<VisibilityState> wanted;
  for (std::size_t i = 0; i < kNames.size(); ++i) {
    if (kNames[i] == state) wanted = static_cast<VisibilityState>(i);
  }
  if (!wanted || *wanted == derive(view)) return;

  LayoutConstraint* collapse = findCollapse(view);
  if (*wanted != VisibilityState::gone) {
    if (collapse != nullptr) collapse->setActive(false);
    view.setHidden(*wanted == VisibilityState::invisible);
    return;
  }
  view.setHidden(true);
  if (collapse == nullptr) {
    auto made = LayoutConstraint::constraintWithItem(
        view.shared_from_this(), LayoutAttribute::height, platform::LayoutRelation::equal, nullptr,
        LayoutAttribute::height, 1.0, 0.0);
    collapse = made.get();
    view.addConstraint(std::move(made));
  }
  collapse->setActive(true);
  view.setNeedsLayout();
  view.setNeedsUpdateConstraints();
}

}  // namespace vexloweb
