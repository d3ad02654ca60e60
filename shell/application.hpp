// Running an app: its load, its identity and its own data, then one GtkApplication per app. A
// second launch of an app hands over to the first (which comes to the front and opens the
// address it is given) and exits 0; previews and --route never hand anything over; without a
// session bus every launch runs on its own.
#pragma once

#include <string>

namespace vexloweb::shell {

struct RunRequest {
  std::string bundle = ".";
  std::string defaultsFile;  // empty: the app's own store (in memory for previews and --route)
  std::string baseUrl;
  int width = 400;
  int height = 800;
  std::string screenshot;
  bool dumpUi = false;
  std::string route;
  std::string name;
};

// The exit status: 0; 1 when the load, the output or a screenshot failed; 3 when a preview was
// drawn but its first page failed.
int runApp(const RunRequest& request);

}  // namespace vexloweb::shell
