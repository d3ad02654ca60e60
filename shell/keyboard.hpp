// The window's keys (the table is in key_bindings.hpp): addKeys finds the controls in a built
// window and wires them.
//   Escape: closes the side menu, and any dialog or custom tab of the window
//   Ctrl+R, F5: reloads (the error page's retry when it shows)
//   Alt+Left, Alt+Right: back and forward
//   Ctrl+Q: closes the window (and so quits)
//   F11: full screen on and off, where the configuration has `fullscreen`
#pragma once

#include <gtk/gtk.h>

namespace vexloweb::shell {

// Wires the keys on `window` (a ShellWindow's), its dialogs and its custom tabs.
void addKeys(GtkWidget* window, bool fullscreenAllowed);

}  // namespace vexloweb::shell
