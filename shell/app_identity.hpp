// The desktop identity of a generated app: the application id that names its GtkApplication, its
// window class, its desktop entry, its icon and its folders. Pure.
//
// The rule: a package_name that is already a valid application id (elements of ASCII letters,
// digits, '_' and '-' separated by dots, at least two, none empty or starting with a digit) of at
// most 200 characters is the id as it is. Any other name gets the prefix "io.vexloweb.apps.",
// then its dot-separated elements with empty ones dropped, each byte other than an ASCII letter,
// digit or '_' made '_', and '_' put before an element that starts with a digit (cut to 160
// characters; "unnamed" when nothing is left), and last '_' and eight hex digits of a hash of the
// whole name, so that two names that differ only in what was replaced stay two apps:
// "my app" -> "io.vexloweb.apps.my_app_8c2a1d6e" (the hash shown is made up).
#pragma once

#include <string>
#include <string_view>

namespace vexloweb::shell {

inline constexpr std::string_view kIdPrefix = "io.vexloweb.apps.";

// The application id of the app whose package_name is `packageName`.
std::string applicationId(std::string_view packageName);

// True when `id` is a valid application id (the same rule as g_application_id_is_valid).
bool isApplicationId(std::string_view id);

}  // namespace vexloweb::shell
