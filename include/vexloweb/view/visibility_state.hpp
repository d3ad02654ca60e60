// A view's visibility as one of three state names: "visible", "invisible" (hidden, keeping its
// place) and "gone" (hidden, with its height collapsed to 0 by a constraint it holds, so the
// views around it close the gap). Nothing is stored: the state is read afresh from the view's
// hidden flag and constraints. Call on the thread that may change views.
//
// Example:
//   vexloweb::setVisibilityState(*banner, "gone");
//   vexloweb::visibilityState(*banner);   // "gone"
#pragma once

#include <string>
#include <string_view>

#include "vexloweb/export.hpp"
#include "vexloweb/platform/view.hpp"

namespace vexloweb {

// "gone" when the first of the view's constraints with a height attribute and a constant of 0
// (whatever its items) is active; otherwise "invisible" when hidden, "visible" when not.
VEXLOWEB_EXPORT std::string visibilityState(const platform::View& view);

// Brings the view into `state`: "visible" (shown, collapse released), "invisible" (hidden,
// collapse released) or "gone" (hidden, collapse constraint active, created and added on first
// use, and a layout pass requested). Does nothing when the view already reads as `state`.
// Any other text (another letter case, an empty string) changes nothing.
VEXLOWEB_EXPORT void setVisibilityState(platform::View& view, std::string_view state);

}  // namespace vexloweb
