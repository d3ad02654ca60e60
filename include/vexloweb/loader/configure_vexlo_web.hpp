// ConfigureVexloWeb: the library's entry point. Early in start-up the host creates one and calls
// readConfiguration once; the record then waits in AppDataInstance and the ad settings and theme
// colours in platform::UserDefaults::standard(). Runs on the caller's thread; may be dropped as
// soon as the call returns.
//
// Example:
//   vexloweb::platform::Bundle::setMainPath("/opt/app/resources");
//   vexloweb::ConfigureVexloWeb().readConfiguration("app");   // reads app.io
//   if (auto record = vexloweb::AppDataInstance::getInstance().configureData()) { ... }
#pragma once

#include <string>

#include "vexloweb/export.hpp"

namespace vexloweb {

class VEXLOWEB_EXPORT ConfigureVexloWeb {
 public:
  // A loader holding the fixed key and IV that configuration files are sealed with.
  ConfigureVexloWeb();
  virtual ~ConfigureVexloWeb();

  // Loads `<fileName>.io` from the main bundle: opens it, decodes the document, replaces the
  // held record and runs both exports. Synchronous; returns nothing and never throws. On any
  // failure it stores and exports nothing, keeping the record of the last good load; the only
  // output is the cipher's line on standard output when the cipher refuses the keys or the data.
  // loadConfiguration() in load_pipeline.hpp runs the same load and says why one failed.
  virtual void readConfiguration(const std::string& fileName);

 private:
  std::string key_;
  std::string iv_;
};

}  // namespace vexloweb
