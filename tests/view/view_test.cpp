#include <limits>
#include <sstream>

#include <gtest/gtest.h>

#include "test_files.hpp"

#include "vexloweb/view/constraint_description.hpp"
#include "vexloweb/view/visibility_state.hpp"

namespace vexloweb {
namespace {

using platform::LayoutAttribute;
using platform::LayoutConstraint;
using platform::LayoutRelation;
using platform::View;

std::shared_ptr<LayoutConstraint> heightZero(const std::shared_ptr<platform::LayoutItem>& item) {
  return LayoutConstraint::constraintWithItem(item, LayoutAttribute::height, LayoutRelation::equal,
                                              nullptr, LayoutAttribute::height, 1.0, 0.0);
}

TEST(VisibilityState, FollowsTheStateTable) {
  auto view = View::create();
  EXPECT_EQ(visibilityState(*view), "visible");
  view->setHidden(true);
  EXPECT_EQ(visibilityState(*view), "invisible");
  view->setHidden(false);

  setVisibilityState(*view, "gone");
  ASSERT_EQ(view->constraints().size(), 1U);
  const auto collapse = view->constraints()[0];
  EXPECT_TRUE(view->isHidden());
  EXPECT_TRUE(collapse->isActive());
  EXPECT_EQ(collapse->firstItem(), view);
  EXPECT_EQ(collapse->secondItem(), nullptr);
  EXPECT_EQ(visibilityState(*view), "gone");
  EXPECT_EQ(view->layoutRequests(), 1);
  EXPECT_EQ(view->constraintUpdateRequests(), 1);

  setVisibilityState(*view, "gone");  // already gone: nothing at all
  EXPECT_EQ(view->constraints().size(), 1U);
  EXPECT_EQ(view->layoutRequests(), 1);

  setVisibilityState(*view, "visible");
  EXPECT_FALSE(view->isHidden());
  EXPECT_FALSE(collapse->isActive());
  EXPECT_EQ(visibilityState(*view), "visible");

  setVisibilityState(*view, "gone");  // the same constraint comes back
  EXPECT_EQ(view->constraints().size(), 1U);
  EXPECT_TRUE(collapse->isActive());

  setVisibilityState(*view, "invisible");
  EXPECT_TRUE(view->isHidden());
  EXPECT_FALSE(collapse->isActive());
  EXPECT_EQ(visibilityState(*view), "invisible");
  EXPECT_EQ(view->layoutRequests(), 2);  // only "gone" asks for layout

  for (const char* other : {"", "Visible", "GONE", "hidden"}) {
    setVisibilityState(*view, other);
    EXPECT_EQ(visibilityState(*view), "invisible");
  }
}

TEST(VisibilityState, AForeignHeightZeroConstraintReadsAsGone) {
  auto view = View::create();
  auto subview = View::create();
  auto foreign = heightZero(subview);
  foreign->setActive(true);
  view->addConstraint(foreign);
  EXPECT_EQ(visibilityState(*view), "gone");

  setVisibilityState(*view, "gone");  // reads as gone already: nothing changes
  EXPECT_FALSE(view->isHidden());
  EXPECT_EQ(view->constraints().size(), 1U);

  setVisibilityState(*view, "visible");  // shows the view, but the foreign constraint remains
  EXPECT_FALSE(view->isHidden());
  EXPECT_TRUE(foreign->isActive());
  EXPECT_EQ(visibilityState(*view), "gone");
}

// The search for the collapse constraint is stricter than the derivation: a height-0 constraint
// of the view that is tied to another item, or whose first item is another view, is passed over
// (a new collapse constraint is made), although the derivation still reads it first.
TEST(VisibilityState, TheCollapseSearchPassesOverConstraintsTiedToOtherItems) {
  auto view = View::create();
  auto other = View::create();
  auto tied =
      LayoutConstraint::constraintWithItem(view, LayoutAttribute::height, LayoutRelation::equal,
                                           other, LayoutAttribute::height, 1.0, 0.0);
  auto foreign = heightZero(other);
  view->addConstraint(tied);
  view->addConstraint(foreign);
  EXPECT_EQ(visibilityState(*view), "visible");

  setVisibilityState(*view, "gone");
  ASSERT_EQ(view->constraints().size(), 3U) << "made its own collapse constraint";
  const auto collapse = view->constraints()[2];
  EXPECT_TRUE(collapse->isActive());
  EXPECT_FALSE(tied->isActive());
  EXPECT_FALSE(foreign->isActive());
  EXPECT_TRUE(view->isHidden());
  EXPECT_EQ(visibilityState(*view), "invisible");  // the first selected (tied) is inactive

  setVisibilityState(*view, "visible");
  EXPECT_FALSE(collapse->isActive());
  EXPECT_FALSE(view->isHidden());
  setVisibilityState(*view, "gone");
  EXPECT_EQ(view->constraints().size(), 3U) << "reuses its own, never the tied one";
  EXPECT_TRUE(collapse->isActive());
  EXPECT_FALSE(tied->isActive());
}

TEST(VisibilityState, OnlyTheFirstMatchingConstraintDecides) {
  auto view = View::create();
  auto first = heightZero(view);
  auto second = heightZero(view);
  second->setActive(true);
  view->addConstraint(first);
  view->addConstraint(second);
  EXPECT_EQ(visibilityState(*view), "visible");  // the first is inactive

  auto negativeZero =
      LayoutConstraint::constraintWithItem(view, LayoutAttribute::height, LayoutRelation::equal,
                                           nullptr, LayoutAttribute::height, 1.0, -0.0);
  auto nan = LayoutConstraint::constraintWithItem(
      view, LayoutAttribute::height, LayoutRelation::equal, nullptr, LayoutAttribute::height, 1.0,
      std::numeric_limits<double>::quiet_NaN());
  auto other = View::create();
  nan->setActive(true);
  other->addConstraint(nan);
  EXPECT_EQ(visibilityState(*other), "visible");  // NaN is not 0
  negativeZero->setActive(true);
  other->addConstraint(negativeZero);
  EXPECT_EQ(visibilityState(*other), "gone");  // -0.0 is
}

TEST(VisibilityState, ASelfConstrainedViewIsReleased) {
  std::weak_ptr<View> watch;
  {
    auto view = View::create();
    watch = view;
    setVisibilityState(*view, "gone");
  }
  EXPECT_TRUE(watch.expired());
}

TEST(ConstraintDescription, WritesIdentifierAndShortestConstant) {
  for (const auto& row : testing::readTable("view/constants.tsv")) {
    EXPECT_EQ(formatConstant(std::strtod(row[0].c_str(), nullptr)), row[1]) << row[0];
  }

  auto view = View::create();
  auto constraint = LayoutConstraint::constraintWithItem(
      view, LayoutAttribute::top, LayoutRelation::equal, nullptr, LayoutAttribute::top, 1.0, 8);
  EXPECT_EQ(constraint->description(), "id: , constant: 8.0");
  constraint->setIdentifier("");
  EXPECT_EQ(constraint->description(), "id: , constant: 8.0");
  constraint->setIdentifier("topMargin");
  std::ostringstream printed;
  printed << *constraint;
  EXPECT_EQ(printed.str(), "id: topMargin, constant: 8.0");
}

}  // namespace
}  // namespace vexloweb
