// The desktop entry that puts an installed app in the desktop's app menu. Pure.
//
// Exec is written by the Desktop Entry format's quoting rules, so that no byte of a name or a path
// can change the command a launcher runs: an argument holding a reserved character (space, tab,
// newline, quotes, backslash, `>`, `<`, `~`, `|`, `&`, `;`, `$`, `*`, `?`, `#`, `(`, `)`, `` ` ``)
// is put in double quotes with `"`, `` ` ``, `$` and `\` escaped by a backslash; every `%` is
// written `%%`, so it is never a field code; then the value's own escapes (`\\`, `\n`, `\t`, `\r`)
// are applied. Other control characters and text that is not UTF-8 cannot be written in an entry
// at all: such an argument is refused.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vexloweb::shell {

// `arguments` as the value of an Exec key, or nothing (with the reason) when one of them cannot
// be written in an entry.
std::optional<std::string> execValue(const std::vector<std::string>& arguments,
                                     std::string* whyNot);

// Text for a string or localestring value shown to the user (Name, Comment): one line (control
// characters as spaces, white space at the ends dropped), text that is not UTF-8 made so (U+FFFD
// for each stray byte), backslashes escaped.
std::string displayValue(std::string_view text);

struct DesktopEntry {
  std::string id;    // the application id: Icon and StartupWMClass
  std::string name;  // Name
  std::string exec;  // the Exec value, from execValue
  std::string comment;
};

// The whole [Desktop Entry] group.
std::string desktopEntryText(const DesktopEntry& entry);

}  // namespace vexloweb::shell
