// The window's keys and the names a screen reader gives its controls (the tables are in
// key_bindings.hpp): addKeysAndNames finds the controls in a built window and wires both.
//   Escape: closes the side menu, and any dialog of the window
//   Ctrl+R, F5: reloads (the error page's retry when it shows)
//   Alt+Left, Alt+Right: back and forward
//   Ctrl+Q: closes the window (and so quits)
//   F11: full screen on and off, where the configuration has `fullscreen`
#pragma once

#include <gtk/gtk.h>

namespace vexloweb::shell {

// Wires the keys on `window` (a ShellWindow's) and its dialogs, and names its symbol buttons.
void addKeysAndNames(GtkWidget* window, bool fullscreenAllowed);

}  // namespace vexloweb::shell
