#include <map>
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

// Every step of the script in view/visibility.tsv (its header says what each step does).
TEST(VisibilityState, FollowsEveryStepOfTheScript) {
  std::map<std::string, std::shared_ptr<View>> views;
  std::map<std::string, std::shared_ptr<LayoutConstraint>> named;
  const auto item = [&](const std::string& name) -> std::shared_ptr<platform::LayoutItem> {
    return name == "-" ? nullptr : views.at(name);
  };
  const auto constraint = [&](const std::string& name) {
    const auto hash = name.find('#');
    if (hash == std::string::npos) return named.at(name);
    return views.at(name.substr(0, hash))->constraints().at(std::stoul(name.substr(hash + 1)));
  };
  int step = 0;
  for (const auto& row : testing::readTable("view/visibility.tsv")) {
    SCOPED_TRACE("step " + std::to_string(++step) + ": " + row[0]);
    const std::string& op = row[0];
    if (op == "new") {
      views = {{"v", View::create()}, {"o", View::create()}};
    } else if (op == "hidden") {
      views.at(row[1])->setHidden(row[2] == "1");
    } else if (op == "set") {
      setVisibilityState(*views.at(row[1]), row[2]);
    } else if (op == "add") {
      named[row[2]] = LayoutConstraint::constraintWithItem(
          item(row[3]), row.size() > 7 ? LayoutAttribute::width : LayoutAttribute::height,
          LayoutRelation::equal, item(row[4]), LayoutAttribute::height, 1.0,
          std::strtod(row[5].c_str(), nullptr));
      named[row[2]]->setActive(row[6] == "1");
      views.at(row[1])->addConstraint(named[row[2]]);
    } else if (op == "is") {
      const View& view = *views.at(row[1]);
      const std::string seen[] = {
          std::string(visibilityState(view)), std::to_string(view.isHidden()),
          std::to_string(view.constraints().size()), std::to_string(view.layoutRequests()),
          std::to_string(view.constraintUpdateRequests())};
      for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_TRUE(row[i + 2] == "-" || seen[i] == row[i + 2])
            << seen[i] << " in column " << i + 3;
      }
    } else if (op == "active") {
      EXPECT_EQ(constraint(row[1])->isActive(), row[2] == "1");
    } else if (op == "items") {
      EXPECT_EQ(constraint(row[1])->firstItem(), item(row[2]));
      EXPECT_EQ(constraint(row[1])->secondItem(), item(row[3]));
    } else {
      ADD_FAILURE() << "not a step";
    }
  }
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
  constraint->setIdentifier("topMargin");
  EXPECT_EQ(::testing::PrintToString(*constraint), "id: topMargin, constant: 8.0");  // operator<<
}

}  // namespace
}  // namespace vexloweb
