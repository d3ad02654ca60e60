#include "vexloweb/platform/view.hpp"

namespace vexloweb::platform {

LayoutItem::~LayoutItem() = default;

std::shared_ptr<View> View::create() {
  struct Made : View {};  // reaches the protected constructor for make_shared
  return std::make_shared<Made>();
}

void View::addConstraint(std::shared_ptr<LayoutConstraint> constraint) {
  if (constraint) constraints_.push_back(std::move(constraint));
}

std::shared_ptr<LayoutConstraint> LayoutConstraint::constraintWithItem(
    const std::shared_ptr<LayoutItem>& item, LayoutAttribute attribute, LayoutRelation relatedBy,
    const std::shared_ptr<LayoutItem>& toItem, LayoutAttribute toAttribute, double multiplier,
    double constant) {
  std::shared_ptr<LayoutConstraint> constraint(new LayoutConstraint());
  constraint->firstItem_ = item;
  constraint->firstAttribute_ = attribute;
  constraint->relation_ = relatedBy;
  constraint->secondItem_ = toItem;
  constraint->secondAttribute_ = toAttribute;
  constraint->multiplier_ = multiplier;
  constraint->constant_ = constant;
  return constraint;
}

std::ostream& operator<<(std::ostream& out, const LayoutConstraint& constraint) {
  return out << constraint.description();
}

}  // namespace vexloweb::platform
