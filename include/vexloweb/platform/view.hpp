// A small layout model: views that hold layout constraints, as much of a UI toolkit as the view
// helpers need. Views and constraints belong to the host; the library keeps no reference to
// them beyond a call. Not thread-safe: use them on one thread, as a UI toolkit would.
//
// Example:
//   auto view = vexloweb::platform::View::create();
//   view->addConstraint(LayoutConstraint::constraintWithItem(
//       view, LayoutAttribute::height, LayoutRelation::equal, nullptr,
//       LayoutAttribute::notAnAttribute, 1.0, 44.0));
#pragma once

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "vexloweb/export.hpp"

namespace vexloweb::platform {

enum class LayoutAttribute {
  notAnAttribute = 0,
  left = 1,
  right = 2,
  top = 3,
  bottom = 4,
  leading = 5,
  trailing = 6,
  width = 7,
  height = 8,
  centerX = 9,
  centerY = 10
};
enum class LayoutRelation { lessThanOrEqual = -1, equal = 0, greaterThanOrEqual = 1 };

// Anything a constraint can tie: a view, a layout guide.
class VEXLOWEB_EXPORT LayoutItem {
 public:
  virtual ~LayoutItem();
};

class LayoutConstraint;

class VEXLOWEB_EXPORT View : public LayoutItem, public std::enable_shared_from_this<View> {
 public:
  static std::shared_ptr<View> create();

  // The constraints the view holds, in the order they were added.
  const std::vector<std::shared_ptr<LayoutConstraint>>& constraints() const { return constraints_; }
  void addConstraint(std::shared_ptr<LayoutConstraint> constraint);

  bool isHidden() const { return hidden_; }
  void setHidden(bool hidden) { hidden_ = hidden; }

  // Ask for a later layout pass; the counts say how often each was asked.
  void setNeedsLayout() { ++layoutRequests_; }
  void setNeedsUpdateConstraints() { ++constraintUpdateRequests_; }
  int layoutRequests() const { return layoutRequests_; }
  int constraintUpdateRequests() const { return constraintUpdateRequests_; }

 protected:
  View() = default;

 private:
  std::vector<std::shared_ptr<LayoutConstraint>> constraints_;
  bool hidden_ = false;
  int layoutRequests_ = 0;
  int constraintUpdateRequests_ = 0;
};

class VEXLOWEB_EXPORT LayoutConstraint {
 public:
  // "item.attribute relatedBy toItem.toAttribute * multiplier + constant". A new constraint is
  // inactive and has no identifier. Both items are held weakly, so a view that holds a
  // constraint on itself does not keep itself alive; an item that is gone reads as none.
  static std::shared_ptr<LayoutConstraint> constraintWithItem(
      const std::shared_ptr<LayoutItem>& item, LayoutAttribute attribute, LayoutRelation relatedBy,
      const std::shared_ptr<LayoutItem>& toItem, LayoutAttribute toAttribute, double multiplier,
      double constant);

  std::shared_ptr<LayoutItem> firstItem() const { return firstItem_.lock(); }
  std::shared_ptr<LayoutItem> secondItem() const { return secondItem_.lock(); }
  LayoutAttribute firstAttribute() const { return firstAttribute_; }
  LayoutAttribute secondAttribute() const { return secondAttribute_; }
  LayoutRelation relation() const { return relation_; }
  double multiplier() const { return multiplier_; }
  double constant() const { return constant_; }

  const std::optional<std::string>& identifier() const { return identifier_; }
  void setIdentifier(std::optional<std::string> id) { identifier_ = std::move(id); }

  bool isActive() const { return active_; }
  void setActive(bool active) { active_ = active; }

  // "id: <identifier>, constant: <constant>", e.g. "id: topMargin, constant: 8.0" (defined with
  // the view helpers; see view/constraint_description.hpp for the number rule).
  std::string description() const;

 private:
  LayoutConstraint() = default;

  std::weak_ptr<LayoutItem> firstItem_;
  std::weak_ptr<LayoutItem> secondItem_;
  LayoutAttribute firstAttribute_ = LayoutAttribute::notAnAttribute;
  LayoutAttribute secondAttribute_ = LayoutAttribute::notAnAttribute;
  LayoutRelation relation_ = LayoutRelation::equal;
  double multiplier_ = 1.0;
  double constant_ = 0.0;
  std::optional<std::string> identifier_;
  bool active_ = false;
};

// Writes constraint.description().
VEXLOWEB_EXPORT std::ostream& operator<<(std::ostream& out, const LayoutConstraint& constraint);

}  // namespace vexloweb::platform
